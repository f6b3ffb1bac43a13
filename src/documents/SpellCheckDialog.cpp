#include "documents/SpellCheckDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace jornix {
namespace {

using Problem = SpellChecker::Problem;

QString eventOf(Problem problem)
{
    switch (problem) {
    case Problem::Doubled:
        return QStringLiteral("DoubledWord");
    case Problem::Capitalization:
        return QStringLiteral("Capitalization");
    case Problem::WordWithDigits:
        return QStringLiteral("WordWithDigits");
    default:
        return QStringLiteral("MisspelledWord");
    }
}

QString reasonOf(Problem problem)
{
    switch (problem) {
    case Problem::Doubled:
        return QStringLiteral("Repeated word:");
    case Problem::Capitalization:
        return QStringLiteral("Capitalization:");
    case Problem::WordWithDigits:
        return QStringLiteral("Word with digits not in dictionary:");
    default:
        return QStringLiteral("Not in dictionary:");
    }
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar::Nbsp;
}

} // namespace

SpellCheckDialog::SpellCheckDialog(SpellChecker& checker, QString text, Handler handler, bool editable,
                                   QWidget* parent)
    : QDialog(parent), checker_(&checker), text_(std::move(text)), handler_(std::move(handler)),
      editable_(editable), reason_(new QLabel), word_(new QLineEdit), changeTo_(new QLineEdit),
      suggestions_(new QListWidget)
{
    setObjectName(QStringLiteral("Spelling"));
    setWindowTitle(QStringLiteral("Spelling"));
    reason_->setObjectName(QStringLiteral("Reason"));
    word_->setObjectName(QStringLiteral("Word"));
    word_->setReadOnly(true);
    changeTo_->setObjectName(QStringLiteral("ChangeTo"));
    changeTo_->setReadOnly(!editable);
    suggestions_->setObjectName(QStringLiteral("Suggestions"));
    suggestions_->setMinimumSize(260, 150);

    auto* fields = new QVBoxLayout;
    fields->addWidget(reason_);
    fields->addWidget(word_);
    fields->addSpacing(6);
    auto* changeToLabel = new QLabel(QStringLiteral("C&hange to:"));
    changeToLabel->setBuddy(changeTo_);
    fields->addWidget(changeToLabel);
    fields->addWidget(changeTo_);
    fields->addSpacing(6);
    auto* suggestionsLabel = new QLabel(QStringLiteral("&Suggestions:"));
    suggestionsLabel->setBuddy(suggestions_);
    fields->addWidget(suggestionsLabel);
    fields->addWidget(suggestions_, 1);

    auto* buttons = new QVBoxLayout;
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    auto add = [&](const QString& label, const QString& name, auto action) {
        auto* button = new QPushButton(label);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        return button;
    };
    add(QStringLiteral("&Ignore"), QStringLiteral("Ignore"), &SpellCheckDialog::Ignore);
    add(QStringLiteral("I&gnore All"), QStringLiteral("IgnoreAll"), &SpellCheckDialog::IgnoreAll);
    buttons->addSpacing(8);
    change_ = add(QStringLiteral("&Change"), QStringLiteral("Change"), &SpellCheckDialog::Change);
    changeAllButton_ =
        add(QStringLiteral("Change A&ll"), QStringLiteral("ChangeAll"), &SpellCheckDialog::ChangeAll);
    delete_ = add(QStringLiteral("&Delete"), QStringLiteral("Delete"), &SpellCheckDialog::Delete);
    undo_ = add(QStringLiteral("&Undo"), QStringLiteral("Undo"), &SpellCheckDialog::Undo);
    buttons->addStretch(1);
    add(QStringLiteral("Cancel"), QStringLiteral("Cancel"), &QDialog::reject);

    connect(suggestions_, &QListWidget::currentTextChanged, this, [this](const QString& suggestion) {
        if (!suggestion.isEmpty() && editable_)
            changeTo_->setText(suggestion);
    });
    connect(suggestions_, &QListWidget::itemActivated, this, [this] { Change(); });
    connect(changeTo_, &QLineEdit::textChanged, this, [this] { updateButtons(); });
}

bool SpellCheckDialog::Start()
{
    edits_.clear();
    findNext(0);
    return current_.problem != Problem::None;
}

void SpellCheckDialog::Ignore()
{
    if (current_.problem != Problem::None)
        findNext(current_.offset + current_.length);
}

void SpellCheckDialog::IgnoreAll()
{
    if (current_.problem == Problem::None)
        return;
    if (checker_ && current_.problem != Problem::Doubled)
        checker_->IgnoreAll(current_.word);
    findNext(current_.offset + current_.length);
}

void SpellCheckDialog::Change()
{
    const QString replacement = changeTo_->text();
    if (!change_->isEnabled() || current_.problem == Problem::None)
        return;
    edit(QStringLiteral("ReplaceWord"), current_.offset, current_.length, replacement);
    findNext(current_.offset + int(replacement.size()));
}

void SpellCheckDialog::ChangeAll()
{
    if (!changeAllButton_->isEnabled() || current_.problem == Problem::None)
        return;
    changeAll_.insert(current_.word, changeTo_->text());
    Change();
}

void SpellCheckDialog::Delete()
{
    if (!editable_ || current_.problem == Problem::None)
        return;
    // The word goes with the blanks before it, or after it when it begins its line.
    int start = current_.offset;
    int end = current_.offset + current_.length;
    while (start > 0 && isBlank(text_[start - 1]))
        --start;
    if (start == current_.offset)
        while (end < text_.size() && isBlank(text_[end]))
            ++end;
    edit(QStringLiteral("DeleteWord"), start, end - start, QString());
    findNext(start);
}

void SpellCheckDialog::Undo()
{
    if (!editable_ || edits_.isEmpty())
        return;
    const Edit last = edits_.takeLast();
    SpellCheckEvent event;
    event.name = QStringLiteral("UndoChange");
    event.undoOffset = last.offset;
    event.undoOldText = last.oldText;
    event.undoNewText = last.newText;
    handler_(event);
    text_.replace(last.offset, last.newText.size(), last.oldText);
    if (changeAll_.value(last.oldText) == last.newText)
        changeAll_.remove(last.oldText);
    findNext(last.offset);
}

void SpellCheckDialog::findNext(int from)
{
    while (checker_) {
        const SpellChecker::Finding finding = checker_->NextProblem(text_, from);
        if (finding.problem == Problem::None)
            break;
        const auto changed = changeAll_.constFind(finding.word);
        if (!editable_ || finding.problem == Problem::Doubled || changed == changeAll_.constEnd()) {
            present(finding);
            return;
        }
        edit(QStringLiteral("ReplaceWord"), finding.offset, finding.length, *changed);
        from = finding.offset + int(changed->size());
    }
    current_ = {};
    accept();
}

void SpellCheckDialog::present(const SpellChecker::Finding& finding)
{
    current_ = finding;
    SpellCheckEvent event;
    event.name = eventOf(finding.problem);
    event.wordOffset = finding.offset;
    event.misspelledWord = finding.word;
    handler_(event);

    reason_->setText(reasonOf(finding.problem));
    word_->setText(finding.word);
    const QStringList suggestions = finding.problem == Problem::Doubled || !checker_
                                        ? QStringList()
                                        : checker_->Suggestions(finding.word);
    suggestions_->clear();
    suggestions_->addItems(suggestions);
    changeTo_->setText(suggestions.isEmpty() || !editable_ ? QString() : suggestions.first());
    if (!suggestions.isEmpty())
        suggestions_->setCurrentRow(0);
    updateButtons();
    QPushButton* preferred = finding.problem == Problem::Doubled ? delete_
                             : change_->isEnabled()              ? change_
                                                    : findChild<QPushButton*>(QStringLiteral("Ignore"));
    preferred->setDefault(true);
    preferred->setFocus();
}

void SpellCheckDialog::edit(const QString& event, int offset, int length, const QString& newText)
{
    const Edit change{offset, text_.mid(offset, length), newText};
    SpellCheckEvent report;
    report.name = event;
    report.wordOffset = offset;
    report.misspelledWord = change.oldText;
    report.replacementWord = newText;
    handler_(report);
    text_.replace(offset, length, newText);
    edits_ << change;
}

void SpellCheckDialog::updateButtons()
{
    const bool atWord = current_.problem != Problem::None;
    const bool canChange =
        editable_ && atWord && !changeTo_->text().isEmpty() && changeTo_->text() != current_.word;
    change_->setEnabled(canChange);
    changeAllButton_->setEnabled(canChange && current_.problem != Problem::Doubled);
    delete_->setEnabled(editable_ && atWord);
    undo_->setEnabled(editable_ && !edits_.isEmpty());
}

} // namespace jornix
