#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

// The window of one help file: the contents and the keyword index on the left, the page on the right.
namespace jornix {

class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    // folder: where the pages lie; baseName: the help file's name without extension, which names its
    // contents and index files.
    HelpWindow(const QString& folder, const QString& baseName, QWidget* parent = nullptr);

    void ShowTopic(const QString& page);
    void ShowContents();
    void ShowIndex(const QString& keyword);

    QString CurrentPage() const { return currentPage_; }

private:
    struct IndexEntry
    {
        QString keyword;
        QString page;
    };

    void LoadContents();
    void LoadIndex();
    void FollowIndex(const QString& typed);
    QString FindPage(const QString& page) const;
    void ShowInContents(const QString& page); // chooses and opens the contents entry of the page

    QString folder_;
    QString baseName_;
    QString currentPage_;
    std::vector<IndexEntry> index_;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* keyword_ = nullptr;
    QListWidget* keywords_ = nullptr;
    QTextBrowser* page_ = nullptr;
};

} // namespace jornix
