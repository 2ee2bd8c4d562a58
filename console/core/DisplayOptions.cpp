#include "console/core/DisplayOptions.h"

#include <QStringList>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace console {

namespace {

// The job queue's columns in twips, each as wide as its usual content; the last two are not shown.
constexpr std::array<int, kJobQueueColumns> kDefaultJobQueueWidths = {2700, 1350, 2250, 900,  1350,
                                                                      750,  900,  2250, 1500, 1500};

// The highest sort value that older texts give as an ascending order.
constexpr int kLastSingleSort = 7;

// View mask bits.
constexpr int kToolBarShown = 1;
constexpr int kStatusBarShown = 2;
constexpr int kTreeHidden = 4;
constexpr int kAlertLogOn = 8;

// Splits at every comma outside double quotes. A field that starts with a quote runs to its closing
// quote ("" stands for one quote inside) and keeps its quotes, so that a reader tells it apart.
std::optional<QStringList> SplitFields(const QString& text) {
    QStringList fields;
    if (text.isEmpty()) {
        return fields;
    }
    qsizetype pos = 0;
    for (;;) {
        qsizetype end = pos;
        if (pos < text.size() && text[pos] == '"') {
            for (end = pos + 1;; ++end) {
                if (end >= text.size()) {
                    return std::nullopt;  // unclosed quote
                }
                if (text[end] == '"') {
                    if (end + 1 < text.size() && text[end + 1] == '"') {
                        ++end;
                        continue;
                    }
                    ++end;
                    break;
                }
            }
            if (end < text.size() && text[end] != ',') {
                return std::nullopt;
            }
        } else {
            end = text.indexOf(',', pos);
            if (end < 0) {
                end = text.size();
            }
        }
        fields << text.mid(pos, end - pos);
        if (end >= text.size()) {
            return fields;
        }
        pos = end + 1;
    }
}

bool IsQuoted(const QString& field) {
    return field.size() >= 2 && field.front() == '"' && field.back() == '"';
}

QString Unquote(const QString& field) {
    return field.mid(1, field.size() - 2).replace("\"\"", "\"");
}

bool NeedsQuotes(const QString& text) {
    return text.contains(',') || text.contains('"') || text != text.trimmed();
}

QString TextField(const QString& text) {
    if (!NeedsQuotes(text)) {
        return text;
    }
    return '"' + QString(text).replace("\"", "\"\"") + '"';
}

// Reads the fields in order; a field that is missing (past the end, or empty) leaves its value.
class FieldReader {
  public:
    explicit FieldReader(QStringList fields) : fields_(std::move(fields)) {}

    bool Failed() const { return failed_; }

    void Number(int& value) {
        const QString field = Next();
        if (field.isEmpty()) {
            return;
        }
        bool ok = false;
        const double number = field.trimmed().toDouble(&ok);
        // Halves go to the even neighbour, as the console has always rounded.
        const double rounded = std::nearbyint(number);
        if (!ok || !std::isfinite(rounded) || rounded < std::numeric_limits<int>::min() ||
            rounded > std::numeric_limits<int>::max()) {
            failed_ = true;
            return;
        }
        value = static_cast<int>(rounded);
    }

    void Text(QString& value, bool trimPlain) {
        const QString field = Next();
        if (index_ > fields_.size()) {
            return;
        }
        value = IsQuoted(field) ? Unquote(field) : trimPlain ? field.trimmed() : field;
    }

    // The text of the field read last, as it stands.
    QString Last() const { return index_ > 0 && index_ <= fields_.size() ? fields_[index_ - 1] : QString(); }

  private:
    QString Next() {
        const qsizetype at = index_++;
        return at < fields_.size() ? fields_[at] : QString();
    }

    QStringList fields_;
    qsizetype index_ = 0;
    bool failed_ = false;
};

}  // namespace

DisplayOptions::DisplayOptions() {
    columns[kNameColumn].visible = true;
    columns[kPortColumn].visible = true;
    jobQueueWidths = kDefaultJobQueueWidths;
}

std::optional<DisplayOptions> ParseDisplayOptions(const QString& text) {
    const std::optional<QStringList> fields = SplitFields(text);
    if (!fields) {
        return std::nullopt;
    }
    DisplayOptions options;
    FieldReader read(*fields);
    int bottom = options.top + options.height;
    int right = options.left + options.width;
    int mask = 0;
    for (const ColumnLayout& column : options.columns) {
        mask |= column.visible ? 1 << (&column - options.columns.data()) : 0;
    }
    int sort = options.sortColumn;
    int viewMask = kToolBarShown | kStatusBarShown;
    read.Number(options.top);
    read.Number(options.left);
    read.Number(bottom);
    read.Number(right);
    read.Number(mask);
    read.Number(options.carried);
    read.Text(options.notifyFlags, false);
    read.Number(sort);
    // Older texts give a descending order as the column doubled (any value above 7); a sign marks
    // this console's own encoding, which brings every column back in either order.
    const bool signedSort = read.Last().trimmed().startsWith('+') || sort < 0;
    const bool doubled = !signedSort && sort > kLastSingleSort;
    read.Number(options.filterKind);
    read.Number(viewMask);
    read.Number(options.viewMode);
    read.Text(options.filterText, true);
    read.Text(options.alertLogFile, false);
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        options.columns[i].visible = (mask >> i & 1) != 0;
        if (options.columns[i].visible) {
            read.Number(options.columns[i].width);
        }
    }
    read.Number(options.autoRefresh);
    read.Number(options.refreshSeconds);
    for (int& width : options.jobQueueWidths) {
        read.Number(width);
    }
    const std::int64_t height = std::int64_t{bottom} - options.top;
    const std::int64_t width = std::int64_t{right} - options.left;
    if (read.Failed() || height < 0 || width < 0 || height > std::numeric_limits<int>::max() ||
        width > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    options.height = static_cast<int>(height);
    options.width = static_cast<int>(width);
    options.sortDescending = sort < 0 || doubled;
    options.sortColumn = sort < 0 ? -sort : doubled ? static_cast<int>(std::nearbyint(sort / 2.0)) : sort;
    options.toolBarVisible = (viewMask & kToolBarShown) != 0;
    options.statusBarVisible = (viewMask & kStatusBarShown) != 0;
    options.treeVisible = (viewMask & kTreeHidden) == 0;
    options.alertLogOn = (viewMask & kAlertLogOn) != 0;
    return options;
}

QString BuildDisplayOptions(const DisplayOptions& options) {
    QStringList fields;
    const auto number = [&fields](std::int64_t value) { fields << QString::number(value); };
    number(options.top);
    number(options.left);
    number(std::int64_t{options.top} + options.height);
    number(std::int64_t{options.left} + options.width);
    int mask = 0;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        mask |= options.columns[i].visible ? 1 << i : 0;
    }
    number(mask);
    number(options.carried);
    fields << TextField(options.notifyFlags);
    // A descending order is the column's number negated, an ascending one above 7 carries its plus
    // sign (plain, it would read as an older descending order): every column comes back as it was.
    if (!options.sortDescending && options.sortColumn > kLastSingleSort) {
        fields << '+' + QString::number(options.sortColumn);
    } else {
        number(options.sortDescending ? -options.sortColumn : options.sortColumn);
    }
    number(options.filterKind);
    number((options.toolBarVisible ? kToolBarShown : 0) | (options.statusBarVisible ? kStatusBarShown : 0) |
           (options.treeVisible ? 0 : kTreeHidden) | (options.alertLogOn ? kAlertLogOn : 0));
    number(options.viewMode);
    fields << TextField(options.filterText) << TextField(options.alertLogFile);
    for (const ColumnLayout& column : options.columns) {
        if (column.visible) {
            number(column.width);
        }
    }
    number(options.autoRefresh);
    number(options.refreshSeconds);
    for (int width : options.jobQueueWidths) {
        number(width);
    }
    return fields.join(',') + ',';
}

}  // namespace console
