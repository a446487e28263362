// The files the open show is kept in: the show file last saved or loaded whole, and the item files
// saved or loaded since, each with the items it holds. Every write of the window's thread that is
// about to replace one of them passes here first (the replace check of safe_file.h), whichever
// command makes it: unless it is the window's own save of the same items again, `replacing`
// decides whether it goes on, and a file replaced no longer holds the show. A file is known by its
// inode and by its canonical path, so that a link to it or another spelling of its name is it too.
#pragma once

#include "item.h"

#include <QString>

#include <functional>
#include <vector>

namespace lm740 {

class KeptFiles
{
public:
    // Asked before a write replaces a kept file; false refuses the write with *error the reason.
    using Replacing = std::function<bool(const QString &path, QString *error)>;
    explicit KeptFiles(Replacing replacing);
    ~KeptFiles();
    KeptFiles(const KeptFiles &) = delete;
    KeptFiles &operator=(const KeptFiles &) = delete;

    // `path` holds `items` now as the show has them; none: the whole show, which then no file
    // before it holds.
    void keptIn(const QString &path, const std::vector<Item> &items = {});

    // While it lives, the window's own save of `items` (none: the whole show) is under way: it
    // holds again what a kept file of those items held, and replaces that file without a word.
    class Saving
    {
    public:
        Saving(KeptFiles &files, std::vector<Item> items);
        ~Saving();
        Saving(const Saving &) = delete;
        Saving &operator=(const Saving &) = delete;

    private:
        KeptFiles &m_files;
        std::vector<Item> m_items;
    };

private:
    struct File
    {
        QString canonical;
        quint64 device = 0;
        quint64 inode = 0;
        std::vector<Item> items; // none: the whole show
    };
    // The kept file that `path` names, or end.
    std::vector<File>::iterator find(const QString &path);
    bool check(const QString &path, QString *error);

    Replacing m_replacing;
    std::vector<File> m_files;
    const std::vector<Item> *m_saving = nullptr;
};

} // namespace lm740
