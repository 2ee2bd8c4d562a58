#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QUrl;

namespace console {

class HelpBook;

// The help window: the contents list and the search on the left, the page on the right, with Back
// and Forward over it. Links between pages and their pictures are the browser's own. Esc and Ctrl+W
// close it.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    HelpWindow(const HelpBook& book, QWidget* parent);

    void ShowPage(int page);
    // The contents list, on the first page.
    void ShowContents();
    // The search, its box ready for typing.
    void ShowSearch();
    // The page the browser shows, -1 for none of the book's.
    int CurrentPage() const;

    QTextBrowser* Browser() const { return brwPage; }
    QTreeWidget* Contents() const { return lstContents; }
    QLineEdit* SearchBox() const { return txtSearch; }
    QListWidget* Results() const { return lstResults; }

  private:
    QWidget* SearchPage();
    void FillContents();
    void UpdateResults();
    void OpenResult(const QListWidgetItem* item);
    void FollowSource(const QUrl& source);
    int PageOfUrl(const QUrl& url) const;

    const HelpBook& book_;
    QTabWidget* tabNavigation;
    QTreeWidget* lstContents;
    QLineEdit* txtSearch;
    QListWidget* lstResults;
    QTextBrowser* brwPage;
    QPushButton* pbuBack;
    QPushButton* pbuForward;
};

}  // namespace console
