#include "kept_files.h"

#include "safe_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>

namespace lm740 {

namespace {

// Whether a save of `saving` (none: the whole show) writes every item a file of `held` holds.
bool holdsAgain(const std::vector<Item> &saving, const std::vector<Item> &held)
{
    if (saving.empty())
        return true;
    return !held.empty() && std::all_of(held.begin(), held.end(), [&](Item item) {
        return std::find(saving.begin(), saving.end(), item) != saving.end();
    });
}

} // namespace

KeptFiles::KeptFiles(Replacing replacing) : m_replacing(std::move(replacing))
{
    files::setReplaceCheck(
        [this](const QString &path, QString *error) { return check(path, error); });
}

KeptFiles::~KeptFiles()
{
    files::setReplaceCheck({});
}

std::vector<KeptFiles::File>::iterator KeptFiles::find(const QString &path)
{
    struct stat st;
    const bool there = ::stat(QFile::encodeName(path).constData(), &st) == 0;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return std::find_if(m_files.begin(), m_files.end(), [&](const File &f) {
        return (there && f.device == quint64(st.st_dev) && f.inode == quint64(st.st_ino)) ||
               (!canonical.isEmpty() && f.canonical == canonical);
    });
}

void KeptFiles::keptIn(const QString &path, const std::vector<Item> &items)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return;
    if (items.empty()) {
        m_files.clear();
    } else {
        // The items are held here now; a file that held nothing else holds nothing of the show.
        if (const auto same = find(path); same != m_files.end())
            m_files.erase(same);
        for (auto f = m_files.begin(); f != m_files.end();) {
            const bool itemFile = !f->items.empty();
            std::erase_if(f->items, [&](Item item) {
                return std::find(items.begin(), items.end(), item) != items.end();
            });
            f = itemFile && f->items.empty() ? m_files.erase(f) : f + 1;
        }
    }
    m_files.push_back(
        {QFileInfo(path).canonicalFilePath(), quint64(st.st_dev), quint64(st.st_ino), items});
}

bool KeptFiles::check(const QString &path, QString *error)
{
    const auto kept = find(path);
    if (kept == m_files.end() || (m_saving && holdsAgain(*m_saving, kept->items)))
        return true;
    if (!m_replacing(path, error))
        return false;
    m_files.erase(kept);
    return true;
}

KeptFiles::Saving::Saving(KeptFiles &files, std::vector<Item> items)
    : m_files(files), m_items(std::move(items))
{
    m_files.m_saving = &m_items;
}

KeptFiles::Saving::~Saving()
{
    m_files.m_saving = nullptr;
}

} // namespace lm740
