#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The console's help pages as a book: the folder installed with the program, its contents list (the
// file contents.txt), the windows each page describes and a search over the pages' words.
namespace console {

struct HelpPage {
    QString file;        // the page's file name in the folder
    QString title;       // the page's <title>, else its file name
    int depth = 0;       // its level in the contents list, 0 at the top
    QStringList topics;  // the windows it describes: a form's name, or the form and a tab, "form/tab"
    QString text;        // the page's words as a reader sees them, for the search
};

class HelpBook {
  public:
    // The book of a folder: its contents list and the pages it names; empty when the folder has no
    // contents list. A page that cannot be read keeps its place with its file name as title.
    static HelpBook Load(const QString& folder);

    bool IsEmpty() const { return pages_.empty(); }
    const QString& Folder() const { return folder_; }
    const std::vector<HelpPage>& Pages() const { return pages_; }
    QString PathOf(int page) const;

    // The page that describes the topic, -1 when none does.
    int PageOfTopic(const QString& topic) const;
    // The page of a file name, -1 when the book has no such page.
    int PageOfFile(const QString& file) const;
    // The pages that hold every word of the query (a word matches at the start of a page's word,
    // case ignored), those whose title holds them first, then by how often they occur.
    std::vector<int> Search(const QString& query) const;

  private:
    QString folder_;
    std::vector<HelpPage> pages_;
};

// The folder of the help pages: installed beside the program, where the build tree has it too.
QString HelpFolder();
// The book of HelpFolder(), read once.
const HelpBook& InstalledHelp();

// The words of a query, in lower case.
QStringList QueryWords(const QString& query);

}  // namespace console
