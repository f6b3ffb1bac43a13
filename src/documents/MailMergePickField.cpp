#include "documents/MailMerge.h"
#include "documents/TXEdit.h"
#include "platform/framework/WindowController.h"
#include "platform/store/Table.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStringListModel>
#include <QTreeView>

namespace jornix {
namespace {

// The data file chosen last, program-wide: the next "SELECT FIELD" starts on it.
QString& LastMailFile()
{
    static QString name;
    return name;
}

// The lists take only the keys that move in them or choose: any other gives a beep.
class ChoosingKeys : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
            return false;
        default:
            QApplication::beep();
            return true;
        }
    }
};

// "SELECT FIELD": the data files of the merge and the fields of the one chosen, by their labels. A field
// chosen (Enter or a double click) goes into the document at the caret as a merge field.
class PickMergeFieldWindow : public WindowController
{
public:
    int files = 0, fields = 0;

    PickMergeFieldWindow(TXEdit& edit)
        : WindowController(QStringLiteral("PickMergeField"), QStringLiteral("SELECT FIELD")), edit_(edit)
    {
        window.Row([&] {
            files = window.List({{QString(), QStringLiteral("@s40"), Qt::AlignLeft}})
                        .Name(QStringLiteral("Files"))
                        .Stretch();
            fields = window.List({{QString(), QStringLiteral("@s40"), Qt::AlignLeft}})
                         .Name(QStringLiteral("Fields"))
                         .Stretch();
        });
        for (const int list : {files, fields}) {
            auto* view = qobject_cast<QTreeView*>(window.Widget(list));
            view->setHeaderHidden(true);
            view->setRootIsDecorated(false);
            view->installEventFilter(new ChoosingKeys(view));
        }
        window.SetListModel(files, &fileModel_);
        window.SetListModel(fields, &fieldModel_);
        window.Root()->resize(520, 300);
    }

    int Init() override
    {
        if (const int level = WindowController::Init())
            return level;
        const std::vector<MailFile>& queue = edit_.Mail().MAILFILEQUEUE;
        if (queue.empty())
            return Level::Stop;
        QStringList names;
        int chosen = 0;
        for (const MailFile& file : queue) {
            if (file.FILENAME == LastMailFile())
                chosen = int(names.size());
            names << file.FILENAME;
        }
        fileModel_.setStringList(names);
        ShowWindow();
        window.SelectRow(files, chosen);
        ListFields();
        FIRSTFIELD = fields;
        return Level::GoOn;
    }

    int OnNewSelection(int control) override
    {
        if (control == files)
            ListFields();
        return WindowController::OnNewSelection(control);
    }

    int OnAccepted(int control) override
    {
        if (const int level = WindowController::OnAccepted(control))
            return level;
        if (control != fields)
            return Level::GoOn;
        const int row = window.SelectedRow(fields);
        if (row < 0)
            return Level::Handled;
        const QString label = fieldModel_.stringList().value(row);
        edit_.InsertMergeToken(label, QStringLiteral("<<") + label + QStringLiteral(">>"));
        SetResponse(Response::Completed);
        return Level::Handled;
    }

private:
    void ListFields()
    {
        const std::vector<MailFile>& queue = edit_.Mail().MAILFILEQUEUE;
        const int row = window.SelectedRow(files);
        QStringList labels;
        if (row >= 0 && row < int(queue.size()) && queue[size_t(row)].file) {
            const Table& table = *queue[size_t(row)].file;
            LastMailFile() = queue[size_t(row)].FILENAME;
            for (int field = 0; field < table.FieldCount(); ++field)
                labels << table.Field(field).name;
        }
        fieldModel_.setStringList(labels);
        if (!labels.isEmpty())
            window.SelectRow(fields, 0);
    }

    TXEdit& edit_;
    QStringListModel fileModel_;
    QStringListModel fieldModel_;
};

} // namespace

void TXEdit::PickMergeField()
{
    PickMergeFieldWindow thisWindow(*this);
    thisWindow.Run();
}

} // namespace jornix
