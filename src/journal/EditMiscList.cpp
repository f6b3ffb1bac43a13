#include "journal/EditMiscList.h"

#include "core/StandardWindow.h"
#include "platform/store/TextValues.h"

namespace jornix {
namespace {

const QChar Separator = QLatin1Char('|');
constexpr int MaxListLength = 32000; // what the definitions keep of a list

class EditMiscListWindow : public StandardWindow
{
public:
    explicit EditMiscListWindow(const QString& list)
        : StandardWindow(QStringLiteral("EditMiscList"), QStringLiteral("Update Misc List")),
          lines_(MiscListLines(list))
    {
        lineBox_ = window.TextBox(Bind(lines_), MaxListLength).Name(QStringLiteral("Items")).Stretch();
        window.Buttons([&] {
            okButton_ = window.Button(QStringLiteral("OK"), QStringLiteral("OKButton.gif"))
                            .Name(QStringLiteral("OK"))
                            .Default();
            helpButton_ = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
            cancelButton_ = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                                .Name(QStringLiteral("Cancel"));
        });
        window.Widget(lineBox_)->setMinimumSize(320, 220);
        SetFirstField(lineBox_);
        KeepPlacement();
        SetHelp({}, helpButton_); // the contents of the help
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        AddButtonAction(cancelButton_, Response::Cancelled);
        return Level::GoOn;
    }

    int OnAccepted(int control) override
    {
        if (control == okButton_) {
            Update(); // the lines as typed, even while the text box still has the focus
            SetResponse(Response::Completed);
            return Level::Handled;
        }
        return StandardWindow::OnAccepted(control);
    }

    QString Result() const { return RESPONSE == Response::Completed ? MiscListFromLines(lines_) : QString(); }

private:
    QString lines_;
    int lineBox_ = 0, okButton_ = 0, helpButton_ = 0, cancelButton_ = 0;
};

} // namespace

QStringList MiscListItems(const QString& list)
{
    const QString text = StripTrailingBlanks(list);
    if (text.isEmpty())
        return {};
    QStringList items = text.split(Separator);
    for (QString& item : items)
        item = StripTrailingBlanks(item);
    return items;
}

QString MiscListLines(const QString& list)
{
    return MiscListItems(list).join(QLatin1Char('\n'));
}

QString MiscListFromLines(const QString& lines)
{
    QString text = lines;
    text.remove(QLatin1Char('\r'));
    QStringList items = text.split(QLatin1Char('\n'));
    while (!items.isEmpty() && items.last().trimmed().isEmpty())
        items.removeLast();
    for (QString& item : items)
        item = StripTrailingBlanks(item);
    return items.join(Separator);
}

QString EditMiscList(const QString& list)
{
    EditMiscListWindow thisWindow(list);
    const int response = thisWindow.Run();
    CurrentContext().GlobalResponseCode = quint8(response);
    return thisWindow.Result();
}

} // namespace jornix
