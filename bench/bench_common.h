// What the benchmarks share: timing, medians, and the plain Qt widget tree they are measured
// against in the same run.
#pragma once

#include <QBoxLayout>
#include <QColor>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace bench {

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

inline double timeMs(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

// Processor time of the whole process so far.
inline double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The baseline of a strip: 170 cells sharing out the width, a new colour for each every 30 ms.
class BareStrip : public QWidget
{
public:
    BareStrip()
    {
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            ++m_phase;
            update();
        });
        m_timer.start(30);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const int w = width();
        for (int i = 0; i < 170; ++i)
            p.fillRect(i * w / 170, 0, (i + 1) * w / 170 - i * w / 170, height(),
                       QColor::fromHsv((i + m_phase) % 360, 255, 255));
    }

private:
    QTimer m_timer;
    int m_phase = 0;
};

// The baseline: 170 group boxes, each with 3 vertical sliders (0..255), 3 line edits,
// 6 push buttons and 3 labels, laid out in one row.
struct BaselineTree
{
    std::unique_ptr<QWidget> top = std::make_unique<QWidget>();
    std::vector<QSlider *> sliders;

    BaselineTree()
    {
        auto *row = new QHBoxLayout(top.get());
        for (int i = 0; i < 170; ++i) {
            auto *box = new QGroupBox(QString("L: %1").arg(i + 1));
            auto *v = new QVBoxLayout(box);
            auto *edits = new QHBoxLayout;
            auto *plus = new QHBoxLayout;
            auto *bars = new QHBoxLayout;
            auto *minus = new QHBoxLayout;
            auto *labels = new QHBoxLayout;
            for (int c = 0; c < 3; ++c) {
                edits->addWidget(new QLineEdit("000"));
                plus->addWidget(new QPushButton("+"));
                auto *s = new QSlider(Qt::Vertical);
                s->setRange(0, 255);
                sliders.push_back(s);
                bars->addWidget(s);
                minus->addWidget(new QPushButton("-"));
                labels->addWidget(new QLabel(QString::number(3 * i + c + 1)));
            }
            for (QBoxLayout *l : {edits, plus, bars, minus, labels})
                v->addLayout(l);
            row->addWidget(box);
        }
    }
};

} // namespace bench
