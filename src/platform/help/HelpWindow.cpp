#include "platform/help/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextStream>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace jornix {
namespace {

constexpr int PageRole = Qt::UserRole;

// Lines of "text|page" with blank lines and "#" comments left out; leading blanks are kept.
QStringList ReadLines(const QString& fileName)
{
    QStringList lines;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')) && trimmed.contains(QLatin1Char('|')))
            lines += line;
    }
    return lines;
}

} // namespace

HelpWindow::HelpWindow(const QString& folder, const QString& baseName, QWidget* parent)
    : QWidget(parent), folder_(folder), baseName_(baseName)
{
    setWindowTitle(baseName + QStringLiteral(" Help"));
    resize(900, 650);

    tabs_ = new QTabWidget;
    contents_ = new QTreeWidget;
    contents_->setObjectName(QStringLiteral("contents"));
    contents_->setHeaderHidden(true);
    tabs_->addTab(contents_, QStringLiteral("Contents"));

    auto* indexPane = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPane);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    keyword_ = new QLineEdit;
    keyword_->setObjectName(QStringLiteral("keyword"));
    keywords_ = new QListWidget;
    keywords_->setObjectName(QStringLiteral("keywords"));
    indexLayout->addWidget(keyword_);
    indexLayout->addWidget(keywords_);
    tabs_->addTab(indexPane, QStringLiteral("Index"));

    page_ = new QTextBrowser;
    page_->setObjectName(QStringLiteral("page"));
    page_->setOpenExternalLinks(true);

    auto* splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(page_);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    LoadContents();
    LoadIndex();

    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, PageRole).toString()); });
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, PageRole).toString()); });
    connect(keyword_, &QLineEdit::textEdited, this, &HelpWindow::FollowIndex);
    connect(keyword_, &QLineEdit::returnPressed, this, [this] {
        if (QListWidgetItem* item = keywords_->currentItem())
            ShowTopic(item->data(PageRole).toString());
    });
    connect(keywords_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowTopic(item->data(PageRole).toString()); });
    connect(keywords_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowTopic(item->data(PageRole).toString()); });
    connect(page_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        currentPage_ = QFileInfo(url.toLocalFile()).fileName();
        ShowInContents(currentPage_);
    });
    // Escape closes the help, as it does the program's dialogs.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::ShowInContents(const QString& page)
{
    const auto shows = [&](const QTreeWidgetItem* item) {
        const QString itemPage = item->data(0, PageRole).toString().section(QLatin1Char('#'), 0, 0);
        return !page.isEmpty() && QFileInfo(itemPage).fileName().compare(page, Qt::CaseInsensitive) == 0;
    };
    // An entry chosen that shows the page stays chosen (two entries may name one page).
    QTreeWidgetItem* item = contents_->currentItem();
    if (!item || !shows(item)) {
        item = nullptr;
        for (QTreeWidgetItemIterator it(contents_); *it && !item; ++it)
            if (shows(*it))
                item = *it;
    }
    if (!item) {
        contents_->clearSelection();
        return;
    }
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    contents_->setCurrentItem(item);
    contents_->scrollToItem(item);
}

void HelpWindow::LoadContents()
{
    // Each level of nesting is two leading blanks.
    std::vector<QTreeWidgetItem*> parents;
    for (const QString& line : ReadLines(QDir(folder_).filePath(baseName_ + QStringLiteral(".contents")))) {
        const qsizetype indent =
            std::find_if(line.begin(), line.end(), [](QChar c) { return !c.isSpace(); }) - line.begin();
        const std::size_t depth = std::min<std::size_t>(std::size_t(indent / 2), parents.size());
        const QString title = line.section(QLatin1Char('|'), 0, 0).trimmed();
        const QString page = line.section(QLatin1Char('|'), 1).trimmed();
        parents.resize(depth);
        auto* item = depth == 0 ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
        item->setText(0, title);
        item->setData(0, PageRole, page);
        parents.push_back(item);
    }
    contents_->expandAll();
}

void HelpWindow::LoadIndex()
{
    for (const QString& line : ReadLines(QDir(folder_).filePath(baseName_ + QStringLiteral(".index"))))
        index_.push_back(
            {line.section(QLatin1Char('|'), 0, 0).trimmed(), line.section(QLatin1Char('|'), 1).trimmed()});
    std::stable_sort(index_.begin(), index_.end(), [](const IndexEntry& a, const IndexEntry& b) {
        return a.keyword.compare(b.keyword, Qt::CaseInsensitive) < 0;
    });
    for (const IndexEntry& entry : index_) {
        auto* item = new QListWidgetItem(entry.keyword, keywords_);
        item->setData(PageRole, entry.page);
    }
}

void HelpWindow::FollowIndex(const QString& typed)
{
    for (int row = 0; row < keywords_->count(); ++row) {
        if (keywords_->item(row)->text().startsWith(typed.trimmed(), Qt::CaseInsensitive)) {
            keywords_->setCurrentRow(row);
            keywords_->scrollToItem(keywords_->item(row), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

QString HelpWindow::FindPage(const QString& page) const
{
    // Pages lie in the help folder itself and are found without regard to case.
    const QString name = QFileInfo(page).fileName();
    if (name.isEmpty())
        return {};
    const QDir folder(folder_);
    if (QFileInfo(folder.filePath(name)).isFile())
        return folder.filePath(name);
    for (const QString& candidate : folder.entryList(QDir::Files)) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(candidate);
    }
    return {};
}

void HelpWindow::ShowTopic(const QString& page)
{
    // A page may name a section of it ("tasks.htm#due"); a topic that names no page is looked up among the
    // keywords of the index, as "Exit Program" is.
    QString name = page.section(QLatin1Char('#'), 0, 0);
    QString section = page.section(QLatin1Char('#'), 1);
    QString file = FindPage(name);
    if (file.isEmpty()) {
        const auto entry = std::find_if(index_.begin(), index_.end(), [&](const IndexEntry& candidate) {
            return candidate.keyword.compare(page.trimmed(), Qt::CaseInsensitive) == 0;
        });
        if (entry != index_.end()) {
            section = entry->page.section(QLatin1Char('#'), 1);
            file = FindPage(entry->page.section(QLatin1Char('#'), 0, 0));
        }
    }
    if (file.isEmpty()) {
        currentPage_.clear();
        page_->setHtml(QStringLiteral("<h1>Page not found</h1><p>The help has no page \"%1\".</p>")
                           .arg(page.toHtmlEscaped()));
        return;
    }
    QUrl url = QUrl::fromLocalFile(file);
    if (!section.isEmpty())
        url.setFragment(section);
    page_->setSource(url);
    currentPage_ = QFileInfo(file).fileName();
    ShowInContents(currentPage_);
}

void HelpWindow::ShowContents()
{
    tabs_->setCurrentIndex(0);
    if (currentPage_.isEmpty() && contents_->topLevelItemCount() > 0)
        ShowTopic(contents_->topLevelItem(0)->data(0, PageRole).toString());
}

void HelpWindow::ShowIndex(const QString& keyword)
{
    tabs_->setCurrentIndex(1);
    keyword_->setText(keyword);
    FollowIndex(keyword);
    keyword_->setFocus();
    if (currentPage_.isEmpty() && contents_->topLevelItemCount() > 0)
        ShowTopic(contents_->topLevelItem(0)->data(0, PageRole).toString());
}

} // namespace jornix
