#include "console/help/HelpWindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <vector>

#include "console/core/FormHelpers.h"
#include "console/core/StringTable.h"
#include "console/help/HelpBook.h"

namespace console {

namespace {

constexpr int kCaption = 12600;
constexpr int kContentsTab = 12601;
constexpr int kSearchTab = 12602;
constexpr int kSearchPrompt = 12603;
constexpr int kNothingFound = 12604;
constexpr int kBackText = 12605;
constexpr int kForwardText = 12606;
constexpr int kSearchIndex = 1;
// The pictures of the forms are shown at most this wide, so that a page never needs a sideways scroll.
constexpr int kWidestPicture = 560;

// The page browser: a picture wider than kWidestPicture is shown scaled down to it.
class PageBrowser : public QTextBrowser {
  public:
    QVariant loadResource(int type, const QUrl& name) override {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource) {
            return resource;
        }
        QImage picture = resource.canConvert<QImage>() ? resource.value<QImage>() : QImage();
        if (picture.isNull()) {
            picture.loadFromData(resource.toByteArray());
        }
        if (picture.width() <= kWidestPicture) {
            return resource;
        }
        return picture.scaledToWidth(kWidestPicture, Qt::SmoothTransformation);
    }
};

int PageOf(const QTreeWidgetItem* item) {
    return item == nullptr ? -1 : item->data(0, Qt::UserRole).toInt();
}

}  // namespace

HelpWindow::HelpWindow(const HelpBook& book, QWidget* parent)
    : QWidget(parent, Qt::Window),
      book_(book),
      tabNavigation(new QTabWidget),
      lstContents(new QTreeWidget),
      txtSearch(new QLineEdit),
      lstResults(new QListWidget),
      brwPage(new PageBrowser),
      pbuBack(new QPushButton(LoadString(kBackText))),
      pbuForward(new QPushButton(LoadString(kForwardText))) {
    setObjectName("HelpWindow");
    setWindowTitle(LoadString(kCaption));
    tabNavigation->setObjectName("tabNavigation");
    lstContents->setObjectName("lstContents");
    txtSearch->setObjectName("txtSearch");
    lstResults->setObjectName("lstResults");
    brwPage->setObjectName("brwPage");
    pbuBack->setObjectName("pbuBack");
    pbuForward->setObjectName("pbuForward");

    lstContents->setHeaderHidden(true);
    tabNavigation->addTab(lstContents, LoadString(kContentsTab));
    tabNavigation->addTab(SearchPage(), LoadString(kSearchTab));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pbuBack);
    buttons->addWidget(pbuForward);
    buttons->addStretch();
    auto* pageSide = new QWidget;
    auto* pageLayout = new QVBoxLayout(pageSide);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addLayout(buttons);
    pageLayout->addWidget(brwPage);
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(tabNavigation);
    splitter->addWidget(pageSide);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    resize(900, 620);

    pbuBack->setEnabled(false);
    pbuForward->setEnabled(false);
    connect(pbuBack, &QPushButton::clicked, brwPage, &QTextBrowser::backward);
    connect(pbuForward, &QPushButton::clicked, brwPage, &QTextBrowser::forward);
    connect(brwPage, &QTextBrowser::backwardAvailable, pbuBack, &QPushButton::setEnabled);
    connect(brwPage, &QTextBrowser::forwardAvailable, pbuForward, &QPushButton::setEnabled);
    connect(brwPage, &QTextBrowser::sourceChanged, this, &HelpWindow::FollowSource);
    connect(lstContents, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ShowPage(PageOf(item)); });
    connect(txtSearch, &QLineEdit::textChanged, this, &HelpWindow::UpdateResults);
    connect(txtSearch, &QLineEdit::returnPressed, this, [this] { OpenResult(lstResults->item(0)); });
    connect(lstResults, &QListWidget::itemActivated, this, &HelpWindow::OpenResult);
    connect(lstResults, &QListWidget::itemClicked, this, &HelpWindow::OpenResult);
    auto* closeKeys = new QShortcut(this);
    closeKeys->setKeys({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    connect(closeKeys, &QShortcut::activated, this, &QWidget::close);
    FillContents();
    CenterForm(this);
}

QWidget* HelpWindow::SearchPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* prompt = new QLabel(LoadString(kSearchPrompt));
    prompt->setBuddy(txtSearch);
    layout->addWidget(prompt);
    layout->addWidget(txtSearch);
    layout->addWidget(lstResults);
    return page;
}

// The pages in the order of the contents list, each under the nearest page above it of a lower level.
void HelpWindow::FillContents() {
    std::vector<QTreeWidgetItem*> levels;
    const std::vector<HelpPage>& pages = book_.Pages();
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const auto depth = static_cast<std::size_t>(pages[page].depth);
        levels.resize(std::min(depth, levels.size()));
        auto* item = levels.empty() ? new QTreeWidgetItem(lstContents) : new QTreeWidgetItem(levels.back());
        item->setText(0, pages[page].title);
        item->setData(0, Qt::UserRole, static_cast<int>(page));
        levels.push_back(item);
    }
    lstContents->expandAll();
}

void HelpWindow::ShowPage(int page) {
    if (page >= 0 && page != CurrentPage()) {
        brwPage->setSource(QUrl::fromLocalFile(book_.PathOf(page)));
    }
}

void HelpWindow::ShowContents() {
    tabNavigation->setCurrentWidget(lstContents);
    ShowPage(0);
    lstContents->setFocus();
}

void HelpWindow::ShowSearch() {
    if (CurrentPage() < 0) {
        ShowPage(0);
    }
    tabNavigation->setCurrentIndex(kSearchIndex);
    txtSearch->setFocus();
    txtSearch->selectAll();
}

int HelpWindow::CurrentPage() const {
    return PageOfUrl(brwPage->source());
}

int HelpWindow::PageOfUrl(const QUrl& url) const {
    const QString file = url.toLocalFile();
    return file.isEmpty() ? -1 : book_.PageOfFile(QFileInfo(file).fileName());
}

void HelpWindow::UpdateResults() {
    lstResults->clear();
    if (QueryWords(txtSearch->text()).isEmpty()) {
        return;
    }
    for (const int page : book_.Search(txtSearch->text())) {
        auto* item = new QListWidgetItem(book_.Pages()[static_cast<std::size_t>(page)].title, lstResults);
        item->setData(Qt::UserRole, page);
    }
    if (lstResults->count() == 0) {
        auto* item = new QListWidgetItem(LoadString(kNothingFound), lstResults);
        item->setFlags(Qt::NoItemFlags);
        item->setData(Qt::UserRole, -1);
    }
}

// The page of a result, with the first place that holds the first word of the search marked.
void HelpWindow::OpenResult(const QListWidgetItem* item) {
    const int page = item == nullptr ? -1 : item->data(Qt::UserRole).toInt();
    if (page < 0) {
        return;
    }
    ShowPage(page);
    const QStringList words = QueryWords(txtSearch->text());
    brwPage->moveCursor(QTextCursor::Start);
    if (!words.isEmpty()) {
        brwPage->find(words.first());
    }
}

// The contents list follows the page shown, however it came (a link, Back, a result). The browser
// tells of the new page before its source() has it.
void HelpWindow::FollowSource(const QUrl& source) {
    const int page = PageOfUrl(source);
    for (QTreeWidgetItemIterator item(lstContents); *item != nullptr; ++item) {
        if (PageOf(*item) == page) {
            const QSignalBlocker quiet(lstContents);
            lstContents->setCurrentItem(*item);
            return;
        }
    }
}

}  // namespace console
