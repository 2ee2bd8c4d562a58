#include "console/help/HelpBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>

#include <algorithm>

namespace console {

namespace {

constexpr const char* kContentsFile = "contents.txt";
// Far above any page of ours: a larger file is not read whole.
constexpr qint64 kLongestPage = 1 << 20;
constexpr int kIndentPerLevel = 2;

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLongestPage) {
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

QStringList TopicsOf(const QString& html) {
    static const QRegularExpression meta(R"re(<meta\s+name="topic"\s+content="([^"]*)")re",
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList topics;
    for (auto match = meta.globalMatch(html); match.hasNext();) {
        topics << match.next().captured(1).trimmed();
    }
    return topics;
}

HelpPage ReadPage(const QString& folder, const QString& file, int depth) {
    HelpPage page{file, file, depth, {}, {}};
    const QString html = ReadText(folder + "/" + file);
    QTextDocument document;
    document.setHtml(html);
    const QString title = document.metaInformation(QTextDocument::DocumentTitle).trimmed();
    if (!title.isEmpty()) {
        page.title = title;
    }
    page.topics = TopicsOf(html);
    page.text = document.toPlainText();
    return page;
}

// A contents line: the page's file name, indented two spaces a level.
bool ParseContentsLine(const QString& line, QString& file, int& depth) {
    if (line.trimmed().isEmpty() || line.startsWith('#')) {
        return false;
    }
    const qsizetype indent = line.size() - QString(line).remove(QRegularExpression("^ +")).size();
    file = line.trimmed();
    depth = static_cast<int>(indent / kIndentPerLevel);
    return !file.contains('/') && !file.contains(' ');
}

int Occurrences(const QRegularExpression& word, const QString& text) {
    int count = 0;
    for (auto match = word.globalMatch(text); match.hasNext(); match.next()) {
        ++count;
    }
    return count;
}

}  // namespace

QStringList QueryWords(const QString& query) {
    static const QRegularExpression separators(R"(\W+)", QRegularExpression::UseUnicodePropertiesOption);
    return query.toLower().split(separators, Qt::SkipEmptyParts);
}

HelpBook HelpBook::Load(const QString& folder) {
    HelpBook book;
    book.folder_ = folder;
    const QString contents = ReadText(folder + "/" + kContentsFile);
    for (const QString& line : contents.split('\n')) {
        QString file;
        int depth = 0;
        if (ParseContentsLine(line, file, depth)) {
            book.pages_.push_back(ReadPage(folder, file, depth));
        }
    }
    return book;
}

QString HelpBook::PathOf(int page) const {
    return folder_ + "/" + pages_.at(static_cast<std::size_t>(page)).file;
}

int HelpBook::PageOfTopic(const QString& topic) const {
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        if (pages_[page].topics.contains(topic)) {
            return static_cast<int>(page);
        }
    }
    return -1;
}

int HelpBook::PageOfFile(const QString& file) const {
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        if (pages_[page].file == file) {
            return static_cast<int>(page);
        }
    }
    return -1;
}

std::vector<int> HelpBook::Search(const QString& query) const {
    std::vector<QRegularExpression> words;
    for (const QString& word : QueryWords(query)) {
        words.emplace_back(
            R"(\b)" + QRegularExpression::escape(word),
            QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    }
    struct Found {
        int page;
        int inTitle;
        int count;
    };
    std::vector<Found> found;
    for (std::size_t page = 0; page < pages_.size() && !words.empty(); ++page) {
        Found hit{static_cast<int>(page), 0, 0};
        bool all = true;
        for (const QRegularExpression& word : words) {
            const int count = Occurrences(word, pages_[page].text);
            all = all && count > 0;
            hit.count += count;
            hit.inTitle += pages_[page].title.contains(word) ? 1 : 0;
        }
        if (all) {
            found.push_back(hit);
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.inTitle != b.inTitle ? a.inTitle > b.inTitle : a.count > b.count;
    });
    std::vector<int> pages;
    for (const Found& hit : found) {
        pages.push_back(hit.page);
    }
    return pages;
}

QString HelpFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/" + VORLANE_HELP_FROM_PROGRAM);
}

const HelpBook& InstalledHelp() {
    static const HelpBook book = HelpBook::Load(HelpFolder());
    return book;
}

}  // namespace console
