#include "show_layout.h"

#include <QFileInfo>

using lm740::Layout;

Layout ShowLayout::effective(int lamps) const
{
    return m_layout ? *m_layout : Layout::strip(lamps);
}

bool ShowLayout::set(const std::optional<Layout> &layout)
{
    std::optional<Layout> now = layout;
    if (now && now->shape() == QLatin1String("strip"))
        now.reset();
    if (now == m_layout)
        return false;
    m_layout = std::move(now);
    emit changed();
    return true;
}

QString ShowLayout::loaded(const QString &showFile, int lamps)
{
    const lm740::LayoutFile file = lm740::readLayoutFile(lm740::layoutFileName(showFile), lamps);
    if (file.status == lm740::LayoutFile::Status::Read)
        set(file.layout);
    else
        set(std::nullopt);
    return file.status == lm740::LayoutFile::Status::Broken ? file.error : QString();
}

bool ShowLayout::saved(const QString &showFile, QString *error)
{
    const QString name = lm740::layoutFileName(showFile);
    if (!m_layout && !QFileInfo::exists(name))
        return true;
    return lm740::writeLayoutFile(name, effective(lm740::kMaxLamps), error);
}
