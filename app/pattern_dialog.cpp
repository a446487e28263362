#include "pattern_dialog.h"

#include "item.h"
#include "layout_view.h"
#include "pattern_step.h"
#include "playback.h"
#include "prompts.h"
#include "show_document.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>

using lm740::BakeOutcome;
using lm740::BakeTarget;
using lm740::pattern::PatternInfo;
using lm740::pattern::PatternProperty;

namespace {

// The colours the buttons start with: a script that takes two gets a red to blue sweep.
constexpr std::array<QRgb, 5> kStartColors{0xFF0000, 0x0000FF, 0x00FF00, 0xFFFF00, 0xFFFFFF};

void paintButton(QPushButton *button, QRgb color)
{
    const QColor c = QColor::fromRgb(color);
    button->setText(c.name().toUpper());
    button->setStyleSheet(QStringLiteral("background-color: %1; color: %2; padding: 4px 10px;")
                              .arg(c.name(), c.lightness() < 140 ? QStringLiteral("white")
                                                                 : QStringLiteral("black")));
}

} // namespace

PatternDialog::PatternDialog(lm740::ShowDocument &document, const lm740::Layout &layout,
                             const QList<int> &selected, QWidget *parent)
    : QDialog(parent), m_document(document), m_layout(layout), m_selected(selected),
      m_engine(std::make_unique<lm740::pattern::PatternEngine>()),
      m_colors(kStartColors.begin(), kStartColors.end())
{
    setWindowTitle(tr("Pattern - Lm740"));

    // Left: the scripts.
    scriptList = new QTreeWidget;
    scriptList->setMinimumWidth(240);
    scriptList->setRootIsDecorated(false);
    scriptList->setHeaderLabels({tr("Script"), tr("Author")});
    const lm740::pattern::PatternEngine::Listing listing = m_engine->list();
    m_scripts = listing.patterns;
    for (const PatternInfo &s : m_scripts) {
        auto *item = new QTreeWidgetItem(scriptList, {s.name, s.author});
        const QString from = s.builtIn ? tr("Built in") : QDir::toNativeSeparators(s.file);
        item->setToolTip(0, from);
        item->setToolTip(1, from);
    }
    loadErrors = new QLabel;
    loadErrors->setWordWrap(true);
    loadErrors->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QStringList errors;
    for (const lm740::pattern::PatternError &e : listing.errors)
        errors << e.text();
    loadErrors->setText(
        errors.isEmpty() ? QString() : tr("Not loaded:\n%1").arg(errors.join(QLatin1Char('\n'))));
    loadErrors->setVisible(!errors.isEmpty());
    auto *scriptsLabel = new QLabel(tr("&Scripts"));
    scriptsLabel->setBuddy(scriptList);
    auto *userFolder =
        new QLabel(tr("Your own scripts go into %1.")
                       .arg(QDir::toNativeSeparators(lm740::pattern::PatternEngine::userFolder())));
    userFolder->setWordWrap(true);
    userFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *left = new QVBoxLayout;
    left->addWidget(scriptsLabel);
    left->addWidget(scriptList, 1);
    left->addWidget(loadErrors);
    left->addWidget(userFolder);

    // Middle: the script's properties and colours, and the target.
    m_propertyBox = new QGroupBox(tr("Properties"));
    m_propertyForm = new QFormLayout(m_propertyBox);
    m_colorBox = new QGroupBox(tr("Colours"));
    auto *colorRow = new QHBoxLayout(m_colorBox);
    colorCount = new QSpinBox;
    colorCount->setRange(1, int(kStartColors.size()));
    colorCount->setToolTip(tr("How many colours the pattern takes"));
    colorRow->addWidget(colorCount);
    for (size_t i = 0; i < kStartColors.size(); ++i) {
        auto *button = new QPushButton;
        button->setObjectName(QStringLiteral("color%1").arg(i + 1));
        paintButton(button, m_colors[i]);
        connect(button, &QPushButton::clicked, this, [this, i] {
            const QColor c =
                QColorDialog::getColor(QColor::fromRgb(m_colors[i]), this, tr("Pattern colour"));
            if (c.isValid())
                setColor(int(i), c.rgb());
        });
        colorRow->addWidget(button);
        m_colorButtons.push_back(button);
    }
    colorRow->addStretch(1);

    auto *targetBox = new QGroupBox(tr("Into"));
    auto *targetForm = new QFormLayout(targetBox);
    targetKind = new QComboBox;
    targetKind->addItems({tr("Scene"), tr("Chaser"), tr("Program"), tr("Selected lamps")});
    itemSpin = new QSpinBox;
    m_itemLabel = new QLabel;
    auto *itemRow = new QHBoxLayout;
    itemRow->addWidget(targetKind);
    itemRow->addWidget(itemSpin);
    itemRow->addWidget(m_itemLabel, 1);
    targetForm->addRow(tr("Target"), itemRow);

    m_stepFields = new QWidget;
    auto *stepForm = new QFormLayout(m_stepFields);
    stepForm->setContentsMargins(0, 0, 0, 0);
    stepSpin = new QSpinBox;
    stepSpin->setRange(1, lm740::pattern::kMaxSteps);
    stepForm->addRow(tr("Step of the &pattern"), stepSpin);
    targetForm->addRow(m_stepFields);

    m_programFields = new QWidget;
    auto *programForm = new QFormLayout(m_programFields);
    programForm->setContentsMargins(0, 0, 0, 0);
    firstStepSpin = new QSpinBox;
    firstStepSpin->setRange(1, lm740::kProgramSteps);
    stepTimeSpin = new QDoubleSpinBox;
    // The Lm740 keeps a step's time in tenths of a second.
    stepTimeSpin->setRange(0, lm740::kMaxItemTimeMs / 1000.0);
    stepTimeSpin->setDecimals(1);
    stepTimeSpin->setSingleStep(0.1);
    stepTimeSpin->setSuffix(tr(" s"));
    stepTimeSpin->setValue(0.5);
    xfadeSpin = new QSpinBox;
    xfadeSpin->setRange(0, 100);
    xfadeSpin->setSuffix(tr(" %"));
    xfadeSpin->setValue(0);
    fitCombo = new QComboBox;
    fitCombo->addItems({tr("Sample evenly"), tr("Cut")});
    programForm->addRow(tr("&First step"), firstStepSpin);
    programForm->addRow(tr("Step t&ime"), stepTimeSpin);
    programForm->addRow(tr("Cross-&fade"), xfadeSpin);
    programForm->addRow(tr("More steps than fit"), fitCombo);
    targetForm->addRow(m_programFields);

    note = new QLabel;
    note->setWordWrap(true);
    note->setMinimumHeight(note->fontMetrics().lineSpacing() * 3);
    note->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto *middle = new QVBoxLayout;
    middle->addWidget(m_propertyBox);
    middle->addWidget(m_colorBox);
    middle->addWidget(targetBox);
    middle->addWidget(note);
    middle->addStretch(1);

    // Right: the preview.
    preview = new LayoutView;
    preview->setMinimumSize(240, 240);
    auto *previewLabel = new QLabel(tr("Preview on the layout"));
    auto *right = new QVBoxLayout;
    right->addWidget(previewLabel);
    right->addWidget(preview, 1);

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(middle, 3);
    columns->addLayout(right, 3);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    applyButton = buttons->addButton(tr("&Apply"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (apply())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *box = new QVBoxLayout(this);
    box->addLayout(columns, 1);
    box->addWidget(buttons);

    previewTimer = new QTimer(this);
    previewTimer->setInterval(int(lm740::playback::kTickMs));
    connect(previewTimer, &QTimer::timeout, this, &PatternDialog::tick);

    // The target starts at the item in the panel.
    const lm740::Item current = document.current();
    targetKind->setCurrentIndex(current.kind == lm740::ItemKind::Scene    ? Scene
                                : current.kind == lm740::ItemKind::Chaser ? Chaser
                                                                          : Program);
    targetChosen();
    itemSpin->setValue(current.number + 1);
    if (current.kind == lm740::ItemKind::ProgramStep)
        firstStepSpin->setValue(current.step + 1);

    connect(scriptList, &QTreeWidget::currentItemChanged, this, &PatternDialog::scriptChosen);
    connect(targetKind, &QComboBox::currentIndexChanged, this, &PatternDialog::targetChosen);
    for (QSpinBox *spin : {itemSpin, stepSpin, firstStepSpin, xfadeSpin})
        connect(spin, &QSpinBox::valueChanged, this, &PatternDialog::render);
    connect(stepTimeSpin, &QDoubleSpinBox::valueChanged, this, &PatternDialog::render);
    connect(fitCombo, &QComboBox::currentIndexChanged, this, &PatternDialog::render);
    connect(colorCount, &QSpinBox::valueChanged, this, &PatternDialog::showColorButtons);

    preview->setGrid(m_layout, document.show().ledsNumber);
    scriptList->resizeColumnToContents(0);
    if (!m_scripts.empty())
        scriptList->setCurrentItem(scriptList->topLevelItem(0));
    else
        render();
    resize(1000, 600);
}

PatternDialog::~PatternDialog() = default;

const PatternInfo *PatternDialog::script() const
{
    const int row = scriptList->indexOfTopLevelItem(scriptList->currentItem());
    return row >= 0 && size_t(row) < m_scripts.size() ? &m_scripts[size_t(row)] : nullptr;
}

bool PatternDialog::chooseScript(const QString &name)
{
    for (size_t i = 0; i < m_scripts.size(); ++i)
        if (m_scripts[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            scriptList->setCurrentItem(scriptList->topLevelItem(int(i)));
            return true;
        }
    return false;
}

void PatternDialog::setColor(int index, QRgb color)
{
    if (index < 0 || size_t(index) >= m_colors.size())
        return;
    m_colors[size_t(index)] = color & 0xFFFFFFu;
    paintButton(m_colorButtons[size_t(index)], m_colors[size_t(index)]);
    render();
}

QWidget *PatternDialog::propertyField(const QString &name) const
{
    const auto it = m_fields.find(name);
    return it == m_fields.end() ? nullptr : it->second;
}

QList<QPushButton *> PatternDialog::colorButtons() const
{
    QList<QPushButton *> shown;
    for (QPushButton *b : m_colorButtons)
        if (!b->isHidden())
            shown << b;
    return shown;
}

void PatternDialog::scriptChosen()
{
    // The old fields go; the script's own take their place, each set to the script's value.
    while (m_propertyForm->rowCount() > 0)
        m_propertyForm->removeRow(0);
    m_fields.clear();
    const PatternInfo *s = script();
    if (!s) {
        render();
        return;
    }
    using Type = PatternProperty::Type;
    for (const PatternProperty &p : s->properties) {
        QWidget *field = nullptr;
        switch (p.type) {
        case Type::List: {
            auto *combo = new QComboBox;
            combo->addItems(p.values);
            combo->setCurrentIndex(std::max(0, int(p.values.indexOf(p.value))));
            connect(combo, &QComboBox::currentIndexChanged, this, &PatternDialog::render);
            field = combo;
            break;
        }
        case Type::Range:
        case Type::Integer: {
            auto *spin = new QSpinBox;
            if (p.type == Type::Range)
                spin->setRange(p.minimum, p.maximum);
            else
                spin->setRange(INT_MIN, INT_MAX);
            spin->setValue(p.value.toInt());
            connect(spin, &QSpinBox::valueChanged, this, &PatternDialog::render);
            field = spin;
            break;
        }
        case Type::String: {
            auto *line = new QLineEdit(p.value);
            connect(line, &QLineEdit::textChanged, this, &PatternDialog::render);
            field = line;
            break;
        }
        }
        field->setObjectName(p.name);
        m_fields[p.name] = field;
        m_propertyForm->addRow(p.display, field);
    }
    m_propertyBox->setVisible(!s->properties.empty());
    const int colors = std::clamp(s->acceptColors, 0, int(m_colorButtons.size()));
    // A script of version 3 takes any number of colours up to its own; two make a sweep.
    const bool several = s->apiVersion >= 3 && colors > 1;
    {
        const QSignalBlocker blocker(colorCount);
        colorCount->setMaximum(std::max(1, colors));
        colorCount->setValue(several ? 2 : colors);
    }
    colorCount->setVisible(several);
    m_colorBox->setTitle(colors == 2 && s->apiVersion < 3 ? tr("Colours (start and end)")
                                                          : tr("Colours"));
    m_colorBox->setVisible(colors > 0);
    showColorButtons();
}

void PatternDialog::showColorButtons()
{
    const PatternInfo *s = script();
    const int colors = s ? std::min(s->acceptColors, colorCount->value()) : 0;
    for (int i = 0; i < int(m_colorButtons.size()); ++i)
        m_colorButtons[size_t(i)]->setVisible(i < colors);
    render();
}

void PatternDialog::targetChosen()
{
    const int t = targetKind->currentIndex();
    const lm740::Item current = m_document.current();
    const bool program =
        t == Program || (t == Selection && current.kind == lm740::ItemKind::ProgramStep);
    itemSpin->setVisible(t != Selection);
    itemSpin->setRange(1, t == Scene    ? lm740::kSceneCount
                          : t == Chaser ? lm740::kChaserCount
                                        : lm740::kProgramCount);
    if (t == Selection) {
        const QString item =
            current.kind == lm740::ItemKind::Scene    ? tr("scene %1").arg(current.number + 1)
            : current.kind == lm740::ItemKind::Chaser ? tr("chaser %1").arg(current.number + 1)
                                                      : tr("program %1").arg(current.number + 1);
        // English says one lamp apart; a translation gives each plural form of its own.
        const int lamps = int(m_selected.size());
        m_itemLabel->setText(
            (lamps == 1 ? tr("1 lamp of %1") : tr("%n lamps of %1", nullptr, lamps)).arg(item));
        if (program)
            firstStepSpin->setValue(current.step + 1);
    } else {
        m_itemLabel->clear();
    }
    m_programFields->setVisible(program);
    m_stepFields->setVisible(!program);
    render();
}

BakeTarget PatternDialog::target() const
{
    BakeTarget t;
    const int kind = targetKind->currentIndex();
    const lm740::Item current = m_document.current();
    using Into = BakeTarget::Into;
    if (kind == Selection) {
        t.into = current.kind == lm740::ItemKind::Scene    ? Into::Scene
                 : current.kind == lm740::ItemKind::Chaser ? Into::Chaser
                                                           : Into::Program;
        t.number = current.number;
        t.lamps = m_selected;
    } else {
        t.into = kind == Scene ? Into::Scene : kind == Chaser ? Into::Chaser : Into::Program;
        t.number = itemSpin->value() - 1;
    }
    t.frame = stepSpin->value() - 1;
    t.firstStep = firstStepSpin->value() - 1;
    t.stepTime = int(std::lround(stepTimeSpin->value() * 10)) * 100;
    t.xfade = xfadeSpin->value();
    t.fit = fitCombo->currentIndex() == 0 ? lm740::Fit::Sample : lm740::Fit::Cut;
    return t;
}

void PatternDialog::render()
{
    m_drawn = false;
    m_steps.clear();
    applyButton->setEnabled(false);
    const PatternInfo *s = script();
    if (!s) {
        note->setText(m_scripts.empty() ? tr("No pattern script could be loaded.") : QString());
        showPreviewStep();
        return;
    }
    if (targetKind->currentIndex() == Selection && m_selected.isEmpty()) {
        note->setText(tr("No lamps are selected in the panel: select the lamps the pattern goes "
                         "on first."));
        showPreviewStep();
        return;
    }
    const BakeTarget t = target();
    lm740::pattern::RenderRequest request;
    for (int i = 0; i < std::min(s->acceptColors, colorCount->value()); ++i)
        request.colors << m_colors[size_t(i)];
    // Only what the user changed is given, as lm740ctl's --set gives it.
    for (const PatternProperty &p : s->properties) {
        QWidget *field = m_fields[p.name];
        QString value;
        if (auto *combo = qobject_cast<QComboBox *>(field))
            value = combo->currentText();
        else if (auto *spin = qobject_cast<QSpinBox *>(field))
            value = QString::number(spin->value());
        else if (auto *line = qobject_cast<QLineEdit *>(field))
            value = line->text();
        if (value != p.value)
            request.properties.insert(p.name, value);
    }
    lm740::pattern::fitToTarget(request, m_layout, t);
    const lm740::pattern::RenderResult drawn = m_engine->render(*s, request);
    if (drawn.error) {
        note->setText(drawn.error->text());
        showPreviewStep();
        return;
    }
    const bool program = t.into == BakeTarget::Into::Program;
    if (!program && int(drawn.frames.frames.size()) <= t.frame) {
        const int steps = drawn.frames.stepCount;
        note->setText((steps == 1 ? tr("%1 has 1 step.") : tr("%1 has %n steps.", nullptr, steps))
                          .arg(s->name));
        showPreviewStep();
        return;
    }
    // The preview shows the lamps as the bake leaves them, on a copy of the show.
    auto baked = std::make_unique<lm740::Show>(m_document.show());
    BakeOutcome outcome;
    QString error;
    if (!lm740::bakePattern(*baked, drawn.frames, m_layout, t, &outcome, &error)) {
        note->setText(error);
        showPreviewStep();
        return;
    }
    m_frames = drawn.frames;
    m_drawn = true;
    if (program) {
        for (int step = outcome.firstStep; step <= outcome.lastStep; ++step) {
            const t_program_scene &record = baked->programs[size_t(t.number)].scenes[size_t(step)];
            m_steps.push_back({record.colors, record.scene_time, record.scene_xfade});
        }
    } else {
        const lm740::Item item = t.into == BakeTarget::Into::Scene ? lm740::Item::scene(t.number)
                                                                   : lm740::Item::chaser(t.number);
        m_steps.push_back({lm740::colorsOf(*baked, item), 0, 0});
    }
    note->setText(fitText(outcome));
    applyButton->setEnabled(true);
    if (m_step >= m_steps.size())
        m_step = 0;
    m_elapsed = 0;
    showPreviewStep();
    if (m_steps.size() > 1 && isVisible())
        previewTimer->start();
}

QString PatternDialog::fitText(const BakeOutcome &outcome) const
{
    const int steps = m_frames.stepCount;
    if (targetKind->currentIndex() != Selection && target().into != BakeTarget::Into::Program)
        return tr("Step %1 of the pattern's %2 goes in.").arg(stepSpin->value()).arg(steps);
    if (target().into != BakeTarget::Into::Program)
        return tr("Step %1 of the pattern's %2 goes on the selected lamps.")
            .arg(stepSpin->value())
            .arg(steps);
    const int taken = outcome.lastStep - outcome.firstStep + 1;
    const QString into = taken == 1
                             ? tr("Program step %1, marked as the last.").arg(outcome.firstStep + 1)
                             : tr("Program steps %1 to %2; step %2 is marked as the last.")
                                   .arg(outcome.firstStep + 1)
                                   .arg(outcome.lastStep + 1);
    switch (outcome.fitted) {
    case BakeOutcome::Fitted::All:
        return (steps == 1 ? tr("The pattern's one step fits.")
                           : tr("All %n steps of the pattern fit.", nullptr, steps)) +
               QLatin1Char(' ') + into;
    case BakeOutcome::Fitted::Sampled:
        return tr("The pattern has %n steps and %1 fit: they are sampled evenly.", nullptr, steps)
                   .arg(taken) +
               QLatin1Char(' ') + into;
    case BakeOutcome::Fitted::Cut:
        break;
    }
    return tr("The pattern has %n steps and %1 fit: it is cut after step %1.", nullptr, steps)
               .arg(taken) +
           QLatin1Char(' ') + into;
}

void PatternDialog::showPreviewStep()
{
    const int lamps = m_document.show().ledsNumber;
    std::vector<QColor> colors(size_t(std::max(0, lamps)), QColor(40, 40, 40));
    if (!m_steps.empty()) {
        const PreviewStep &now = m_steps[m_step];
        const PreviewStep &before = m_steps[(m_step + m_steps.size() - 1) % m_steps.size()];
        const quint32 fade = lm740::playback::fadeTime(now.time, now.xfade);
        for (size_t i = 0; i < colors.size(); ++i)
            colors[i] =
                m_steps.size() > 1
                    ? lm740::playback::fadeColor(before.colors[i], now.colors[i], m_elapsed, fade)
                    : now.colors[i];
    }
    if (preview->setColors(colors))
        ++repaints;
}

void PatternDialog::tick()
{
    if (m_steps.size() < 2) {
        previewTimer->stop();
        return;
    }
    const quint32 before = m_elapsed;
    m_elapsed += lm740::playback::kTickMs;
    const PreviewStep &now = m_steps[m_step];
    // A step of no time still shows for one tick.
    if (m_elapsed >= std::max(now.time, lm740::playback::kTickMs)) {
        m_step = (m_step + 1) % m_steps.size();
        m_elapsed = 0;
    } else if (before > lm740::playback::fadeTime(now.time, now.xfade)) {
        return; // the step stands still: nothing to paint
    }
    showPreviewStep();
}

bool PatternDialog::apply()
{
    const PatternInfo *s = script();
    if (!s || !m_drawn)
        return false;
    QString error;
    if (!lm740::bakePatternStep(m_document, s->name, m_frames, m_layout, target(), nullptr,
                                &error)) {
        lm740::prompts().warning(this, tr("Pattern - Lm740"), error);
        return false;
    }
    return true;
}

void PatternDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_steps.size() > 1)
        previewTimer->start();
}

void PatternDialog::hideEvent(QHideEvent *event)
{
    previewTimer->stop();
    QDialog::hideEvent(event);
}
