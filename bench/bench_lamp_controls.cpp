// What the lamp controls themselves cost, for a full strip of 170: building them (against the bare
// Designer form and against a plain Qt tree of the same size), and writing all 510 channels the
// way the panel loads colours. Prints medians in milliseconds.
//
// Run: QT_QPA_PLATFORM=offscreen ./bench_lamp_controls [rounds]
#include "arthur_style.h"
#include "bench_common.h"
#include "my_frame.h"
#include "super_rgb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using bench::median;
using bench::timeMs;

constexpr int kLamps = 170;

// The strip as the panel builds it: a holder per lamp, the panel's style, a colour cell that
// follows the lamp.
struct Strip
{
    std::unique_ptr<QWidget> top = std::make_unique<QWidget>();
    std::unique_ptr<QWidget> cells = std::make_unique<QWidget>();
    std::vector<SuperRGB *> lamps;

    explicit Strip(QStyle *style)
    {
        auto *row = new QHBoxLayout(top.get());
        for (int i = 0; i < kLamps; ++i) {
            auto *holder = new QWidget;
            auto *lamp = new SuperRGB(holder, quint8(i), quint8(2 * i), quint8(3 * i), quint16(i));
            lamp->applyStyle(style);
            row->addWidget(holder);
            auto *cell = new MyFrame(cells.get(), lamp->lampColor(), i);
            cell->setStyle(style);
            QObject::connect(lamp, &SuperRGB::colorChanged, cell, &MyFrame::setColor);
            lamps.push_back(lamp);
        }
        top->layout()->activate();
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    ArthurStyle style;

    std::vector<double> plain, form, lamps, channels;
    for (int r = 0; r < rounds; ++r) {
        {
            std::unique_ptr<bench::BaselineTree> tree;
            plain.push_back(timeMs([&] {
                tree = std::make_unique<bench::BaselineTree>();
                tree->top->layout()->activate();
            }));
        }
        {
            QWidget top;
            form.push_back(timeMs([&] {
                auto *row = new QHBoxLayout(&top);
                for (int i = 0; i < kLamps; ++i) {
                    auto *holder = new QWidget;
                    auto *w = new QWidget(holder);
                    Ui::Lamp ui;
                    ui.setupUi(w);
                    row->addWidget(holder);
                }
                top.layout()->activate();
            }));
        }
        std::unique_ptr<Strip> strip;
        lamps.push_back(timeMs([&] { strip = std::make_unique<Strip>(&style); }));
        channels.push_back(timeMs([&] {
            for (int i = 0; i < kLamps; ++i) {
                SuperRGB *lamp = strip->lamps[size_t(i)];
                lamp->setRedColor((i * 7 + r * 13) % 256);
                lamp->setGreenColor((i * 11 + r * 17) % 256);
                lamp->setBlueColor((i * 3 + r * 29) % 256);
            }
        }));
        QApplication::processEvents();
    }

    std::printf("rounds: %d (medians, ms)\n", rounds);
    std::printf("plain Qt tree, 170 group boxes          %8.2f\n", median(plain));
    std::printf("bare Lamp forms, 170                    %8.2f\n", median(form));
    std::printf("170 lamp controls with cells and style  %8.2f  (%.2fx plain tree)\n",
                median(lamps), median(lamps) / median(plain));
    std::printf("510 channel writes (setRed/Green/Blue)  %8.2f\n", median(channels));
    return 0;
}
