// The help pages as installed beside the program: every page of the contents list is there, every
// link and picture of every page resolves, and every window of the console has its page.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "console/help/HelpBook.h"

namespace consoletest {
namespace {

using console::HelpBook;
using console::HelpFolder;
using console::HelpPage;

QString Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList Captures(const QString& text, const QString& pattern) {
    QStringList found;
    for (auto match = QRegularExpression(pattern).globalMatch(text); match.hasNext();) {
        found << match.next().captured(1);
    }
    return found;
}

// Every link (href) and picture (src) of the book's pages that does not lead to a file of the
// folder, or to an anchor that its page holds; each as "page: reference".
QStringList BrokenReferences(const HelpBook& book) {
    QStringList broken;
    const QDir folder(book.Folder());
    for (const HelpPage& page : book.Pages()) {
        const QString html = Read(folder.filePath(page.file));
        for (const QString& picture : Captures(html, R"re(<img[^>]*\ssrc="([^"]*)")re")) {
            if (QImage(folder.filePath(picture)).isNull()) {
                broken << page.file + ": " + picture;
            }
        }
        for (const QString& link : Captures(html, R"re(<a[^>]*\shref="([^"]*)")re")) {
            const QString file = link.section('#', 0, 0);
            const QString anchor = link.section('#', 1);
            const QString target = Read(folder.filePath(file.isEmpty() ? page.file : file));
            const bool anchored = anchor.isEmpty() || target.contains("id=\"" + anchor + "\"") ||
                                  target.contains("name=\"" + anchor + "\"");
            if (link.contains(':') || target.isEmpty() || !anchored) {
                broken << page.file + ": " + link;
            }
        }
    }
    return broken;
}

void Write(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(text.toUtf8());
}

TEST(HelpPagesTest, TheContentsListEveryPageOfTheFolderAndEachHasATitle) {
    const HelpBook book = HelpBook::Load(HelpFolder());
    ASSERT_FALSE(book.IsEmpty()) << "no help pages in " << HelpFolder().toStdString();
    QSet<QString> listed;
    for (const HelpPage& page : book.Pages()) {
        EXPECT_TRUE(QFile::exists(book.Folder() + "/" + page.file)) << page.file.toStdString();
        EXPECT_NE(page.title, page.file) << page.file.toStdString() << " has no title";
        EXPECT_FALSE(listed.contains(page.file)) << page.file.toStdString() << " is listed twice";
        listed << page.file;
    }
    for (const QString& file : QDir(book.Folder()).entryList({"*.html"}, QDir::Files)) {
        EXPECT_TRUE(listed.contains(file)) << file.toStdString() << " is not in the contents";
    }
    // Every picture of the folder is shown by some page: none is left over from an old copy.
    QString allPages;
    for (const HelpPage& page : book.Pages()) {
        allPages += Read(book.Folder() + "/" + page.file);
    }
    for (const QString& picture : QDir(book.Folder() + "/pictures").entryList({"*.png"}, QDir::Files)) {
        EXPECT_TRUE(allPages.contains("\"pictures/" + picture + "\""))
            << picture.toStdString() << " is unused";
    }
}

TEST(HelpPagesTest, EveryLinkAndPictureOfEveryPageResolves) {
    const HelpBook book = HelpBook::Load(HelpFolder());
    ASSERT_FALSE(book.IsEmpty());
    EXPECT_EQ(BrokenReferences(book), QStringList());

    // The check itself, on a small book with one fault of each kind beside sound references.
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    QDir(scratch.path()).mkdir("pictures");
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(scratch.filePath("pictures/a.png")));
    Write(scratch.filePath("contents.txt"), "one.html\n  two.html\n");
    Write(
        scratch.filePath("one.html"),
        R"(<html><head><title>One</title></head><body><img src="pictures/a.png"> <img src="pictures/gone.png">
          <a href="two.html">two</a> <a href="two.html#there">there</a> <a href="two.html#nowhere">no</a>
          <a href="three.html">three</a> <a href="#top">top</a> <a href="http://example.org/">out</a>
          <h1 id="top">One</h1></body></html>)");
    Write(scratch.filePath("two.html"),
          R"(<html><head><title>Two</title></head><body><h2 id="there">Two</h2>)");
    const HelpBook faulty = HelpBook::Load(scratch.path());
    ASSERT_EQ(faulty.Pages().size(), 2u);
    EXPECT_EQ(faulty.Pages()[1].depth, 1);
    EXPECT_EQ(BrokenReferences(faulty),
              QStringList({"one.html: pictures/gone.png", "one.html: two.html#nowhere",
                           "one.html: three.html", "one.html: http://example.org/"}));
}

// Each form of the console (a dialog or the main window, by its class) is a topic of one page, and
// no topic belongs to two pages.
TEST(HelpPagesTest, EveryWindowOfTheConsoleHasItsPage) {
    const HelpBook book = HelpBook::Load(HelpFolder());
    QStringList forms;
    const QRegularExpression declaration(R"(class\s+(\w+)\s*:\s*public\s+Q(Dialog|MainWindow)\b)");
    for (QDirIterator file(CONSOLE_SOURCE_DIR, {"*.h"}, QDir::Files, QDirIterator::Subdirectories);
         file.hasNext();) {
        const QString path = file.next();
        if (!path.contains("/tests/")) {
            forms << Captures(Read(path), declaration.pattern());
        }
    }
    ASSERT_GT(forms.size(), 20);
    for (const QString& form : forms) {
        EXPECT_GE(book.PageOfTopic(form), 0) << form.toStdString() << " has no help page";
    }
    QSet<QString> topics;
    for (const HelpPage& page : book.Pages()) {
        for (const QString& topic : page.topics) {
            EXPECT_FALSE(topics.contains(topic)) << topic.toStdString() << " has two pages";
            topics << topic;
        }
    }
}

}  // namespace
}  // namespace consoletest
