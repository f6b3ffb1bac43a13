#include "platform/reportengine/FormulaEditor.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace jornix {

namespace {

struct FunctionHelp
{
    const char* insert;
    const char* signature;
    const char* meaning;
};

// The functions of the formula language, as the tree offers them.
constexpr FunctionHelp Functions[] = {
    {"Cond(", "Cond(condition, then, else)", "the value of then when the condition holds, else the other"},
    {"Choose(", "Choose(n, value0, value1, ...)", "the value numbered n, counted from 0"},
    {"Date$(", "Date$(date, format)", "a date as text, \"mm/dd/yyyy\" unless a format is given"},
    {"Time$(", "Time$(date, format)", "the time of day as text, \"hh:mm\" unless a format is given"},
    {"Str$(", "Str$(number, decimals)", "a number as text"},
    {"RTrim$(", "RTrim$(text)", "the text without trailing blanks"},
    {"Upper$(", "Upper$(text)", "the text in capitals"},
    {"Empty(", "Empty(value)", "true when the value is blank"},
    {"Defined(", "Defined(name)", "true when an item of that name is declared"},
    {"Page()", "Page()", "the number of the page being printed"},
    {"LastPage()", "LastPage()", "the number of the last page"},
    {"Today()", "Today()", "today's date"},
    {"Now()", "Now()", "today's date and the time of day"},
    {"INSTRING(", "INSTRING(part, text, step, start)", "where part starts in text, 0 when it is not there"},
};

constexpr FunctionHelp Operators[] = {
    {" & ", "&", "joins two texts"},  {" + ", "+", "adds"},          {" - ", "-", "subtracts"},
    {" * ", "*", "multiplies"},       {" / ", "/", "divides"},       {" = ", "=", "equal"},
    {" <> ", "<>", "not equal"},      {" AND ", "AND", "both hold"}, {" OR ", "OR", "either holds"},
    {"NOT ", "NOT", "does not hold"},
};

QString KindText(quint32 type)
{
    switch (KindOfType(type)) {
    case ReportItemKind::Text:
        return QStringLiteral("text");
    case ReportItemKind::Numeric:
        return QStringLiteral("number");
    case ReportItemKind::Date:
        return QStringLiteral("date");
    case ReportItemKind::Boolean:
        return QStringLiteral("yes/no");
    case ReportItemKind::Drawing:
        return QStringLiteral("picture");
    case ReportItemKind::Barcode:
        return QStringLiteral("barcode");
    }
    return {};
}

constexpr int InsertRole = Qt::UserRole;

} // namespace

FormulaContext FormulaEditor::SampleContext(const ReportItems& variables, const ReportItems& fields)
{
    FormulaContext context;
    context.items = [&variables, &fields](const QString& name) -> std::optional<FormulaItem> {
        auto item = fields.Lookup(name);
        if (!item)
            item = variables.Lookup(name);
        if (!item)
            return std::nullopt;
        return FormulaItem{item->value, item->type};
    };
    return context;
}

FormulaEditor::FormulaEditor(const ReportItems& variables, const ReportItems& fields, const QString& what,
                             const QString& formula, bool allowBlank, QWidget* parent)
    : QDialog(parent), variables_(variables), fields_(fields), allowBlank_(allowBlank)
{
    setObjectName(QStringLiteral("formulaEditor"));
    setWindowTitle(QStringLiteral("Formula: %1").arg(what));
    resize(760, 480);

    tree_ = new QTreeWidget;
    tree_->setObjectName(QStringLiteral("formulaTree"));
    tree_->setColumnCount(3);
    tree_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type"), QStringLiteral("Sample value")});
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);
    const auto addItems = [this](const QString& heading, const ReportItems& items) {
        auto* group = new QTreeWidgetItem(tree_, {heading});
        for (const QString& name : items.Names()) {
            const ReportItemValue value = *items.Lookup(name);
            auto* item = new QTreeWidgetItem(group, {name, KindText(value.type), value.value.left(80)});
            item->setData(0, InsertRole, name);
            item->setToolTip(0, name);
        }
        group->setExpanded(true);
    };
    addItems(QStringLiteral("Variables"), variables);
    addItems(QStringLiteral("Fields"), fields);
    const auto addHelp = [this](const QString& heading, const auto& entries) {
        auto* group = new QTreeWidgetItem(tree_, {heading});
        for (const FunctionHelp& entry : entries) {
            auto* item = new QTreeWidgetItem(
                group, {QLatin1String(entry.signature), QString(), QLatin1String(entry.meaning)});
            item->setData(0, InsertRole, QLatin1String(entry.insert));
            item->setToolTip(0, QLatin1String(entry.meaning));
        }
    };
    addHelp(QStringLiteral("Functions"), Functions);
    addHelp(QStringLiteral("Operators"), Operators);
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { Insert(item); });

    text_ = new QPlainTextEdit;
    text_->setObjectName(QStringLiteral("formulaText"));
    text_->setTabChangesFocus(true);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    text_->setFont(mono);
    text_->setPlainText(formula);
    connect(text_, &QPlainTextEdit::textChanged, this, &FormulaEditor::Check);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("formulaStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setMinimumHeight(status_->fontMetrics().height() * 2 + 8);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons_->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("formulaOk"));
    buttons_->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("formulaCancel"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &FormulaEditor::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &FormulaEditor::reject);

    auto* editPart = new QWidget;
    auto* editLayout = new QVBoxLayout(editPart);
    editLayout->setContentsMargins(0, 0, 0, 0);
    auto* prompt = new QLabel(QStringLiteral("&Formula:"));
    prompt->setBuddy(text_);
    editLayout->addWidget(prompt);
    editLayout->addWidget(text_, 1);
    editLayout->addWidget(status_);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(tree_);
    splitter->addWidget(editPart);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Double-click a variable, field or function to insert it at the cursor.")));
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons_);
    Check();
    text_->setFocus();
}

QString FormulaEditor::FormulaText() const
{
    return text_->toPlainText().trimmed();
}

void FormulaEditor::SetFormulaText(const QString& text)
{
    text_->setPlainText(text);
}

QStringList FormulaEditor::OfferedNames() const
{
    QStringList names;
    for (int group = 0; group < tree_->topLevelItemCount(); ++group)
        for (int at = 0; at < tree_->topLevelItem(group)->childCount(); ++at)
            names << tree_->topLevelItem(group)->child(at)->data(0, InsertRole).toString();
    return names;
}

void FormulaEditor::Insert(QTreeWidgetItem* item)
{
    const QString text = item->data(0, InsertRole).toString();
    if (text.isEmpty())
        return;
    text_->textCursor().insertText(text);
    text_->setFocus();
}

void FormulaEditor::Check()
{
    const QString text = FormulaText();
    if (text.isEmpty()) {
        problem_ = allowBlank_ ? QString() : QStringLiteral("The formula is empty.");
        status_->setText(allowBlank_ ? QStringLiteral("No formula: always.") : problem_);
    } else {
        const Formula formula(text);
        if (!formula.Problem()) {
            problem_ = formula.Problem().Message();
            status_->setText(problem_);
        } else {
            problem_.clear();
            QString value;
            const Status evaluated = formula.EvaluateText(SampleContext(variables_, fields_), value);
            status_->setText(evaluated ? QStringLiteral("The formula is correct. With the sample values: %1")
                                             .arg(value.left(200))
                                       : QStringLiteral("The formula is correct; with the sample values: %1")
                                             .arg(evaluated.Message()));
        }
    }
    QPalette palette = status_->palette();
    palette.setColor(QPalette::WindowText, problem_.isEmpty() ? palette.color(QPalette::Text) : Qt::darkRed);
    status_->setPalette(palette);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(problem_.isEmpty());
}

void FormulaEditor::accept()
{
    Check();
    if (!problem_.isEmpty()) {
        // Put the cursor where the fault is, when the message says where.
        const QRegularExpressionMatch at =
            QRegularExpression(QStringLiteral("at position (\\d+)")).match(problem_);
        if (at.hasMatch()) {
            QTextCursor cursor = text_->textCursor();
            cursor.setPosition(std::min(at.captured(1).toInt() - 1, int(text_->toPlainText().size())));
            text_->setTextCursor(cursor);
        }
        text_->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace jornix
