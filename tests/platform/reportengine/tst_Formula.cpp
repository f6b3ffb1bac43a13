#include "platform/reportengine/Formula.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"

#include <QtTest>

using namespace jornix;

namespace {

using Items = QHash<QString, FormulaItem>;

// Items as a job declares them: names without regard to case, a later declaration replacing an earlier one.
struct Declared
{
    Items items;

    void Declare(const QString& name, const QString& value, quint32 type)
    {
        items.insert(name.toCaseFolded(), {value, type});
    }
    FormulaContext Context(int page = 1, int lastPage = 1) const
    {
        FormulaContext context;
        context.items = [this](const QString& name) -> std::optional<FormulaItem> {
            const auto found = items.constFind(name.toCaseFolded());
            return found == items.constEnd() ? std::nullopt : std::optional<FormulaItem>(*found);
        };
        context.page = page;
        context.lastPage = lastPage;
        return context;
    }
};

QString Value(const QString& formula, const FormulaContext& context)
{
    QString text;
    const Status status = Formula(formula).EvaluateText(context, text);
    return status ? text : QStringLiteral("error: ") + status.Message();
}

QString DateValue(int dayNumber)
{
    return QString::number(dayNumber + JulianDayOffset);
}

} // namespace

class FormulaTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { SetFixedClock({}); }

    void valueTextsReadByType_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QString>("valueText");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("expected");
        const quint32 date = FormulaItem::DateType, number = FormulaItem::NumericType,
                      boolean = FormulaItem::BooleanType, text = FormulaItem::TextType;
        QTest::newRow("a leap day") << date << DateValue(81512) << "Date$(X.Item)"
                                    << "02/29/2024";
        QTest::newRow("the day after it") << date << DateValue(81513) << "Date$(X.Item)"
                                          << "03/01/2024";
        QTest::newRow("the last day of a year") << date << "2460675"
                                                << "Date$(X.Item)"
                                                << "12/31/2024";
        QTest::newRow("the first day of the next") << date << "2460676"
                                                   << "Date$(X.Item)"
                                                   << "01/01/2025";
        QTest::newRow("a year's end before") << date << "2460309"
                                             << "Date$(X.Item)"
                                             << "12/31/2023";
        QTest::newRow("the day of the store's first date") << date << DateValue(4) << "Date$(X.Item)"
                                                           << "01/01/1801";
        QTest::newRow("no date") << date << "1e1000"
                                 << "Date$(X.Item)"
                                 << "";
        QTest::newRow("an empty date") << date << ""
                                       << "Date$(X.Item)"
                                       << "";
        QTest::newRow("no date is empty") << date << "1e1000"
                                          << "Empty(X.Item)"
                                          << "1";
        QTest::newRow("a date with a format") << date << DateValue(81512) << "Date$(X.Item, 'dd.mm.yyyy')"
                                              << "29.02.2024";
        QTest::newRow("names of day and month")
            << date << DateValue(81512) << "Date$(X.Item, 'dddd d mmm yy')"
            << "Thursday 29 Feb 24";
        QTest::newRow("the day of a date and time") << date << "2460369.75"
                                                    << "Date$(X.Item)"
                                                    << "02/29/2024";
        QTest::newRow("three quarters of a day") << date << ".75"
                                                 << "Time$(X.Item)"
                                                 << "18:00";
        QTest::newRow("the time of a date and time") << date << "2460369.75"
                                                     << "Time$(X.Item)"
                                                     << "18:00";
        QTest::newRow("a document time of noon")
            << date << QString::number(4320001 / 8640000.0, 'f', 10) << "Time$(X.Item, 'hh:mm:ss')"
            << "12:00:00";
        QTest::newRow("no time") << date << "0"
                                 << "Time$(X.Item)"
                                 << "00:00";
        QTest::newRow("a time with a format")
            << date << QString::number((9 * 3600 + 5 * 60 + 7) / 86400.0, 'g', 17)
            << "Time$(X.Item, 'h.mm.ss')"
            << "9.05.07";
        QTest::newRow("a boolean 1") << boolean << "1"
                                     << "Cond(X.Item, 'yes', 'no')"
                                     << "yes";
        QTest::newRow("a boolean 0") << boolean << "0"
                                     << "Cond(X.Item, 'yes', 'no')"
                                     << "no";
        QTest::newRow("a number") << number << "42"
                                  << "X.Item + 1"
                                  << "43";
        QTest::newRow("a number in its shortest form") << number << "2.50"
                                                       << "X.Item"
                                                       << "2.5";
        QTest::newRow("a number without a value") << number << ""
                                                  << "Str$(X.Item) & Empty(X.Item)"
                                                  << "1";
        QTest::newRow("numbers compare as numbers") << number << "10"
                                                    << "X.Item > 9"
                                                    << "1";
        QTest::newRow("texts compare as texts") << text << "10"
                                                << "X.Item > '9'"
                                                << "0";
        QTest::newRow("a text keeps its width") << text << "Smith   "
                                                << "X.Item & '!'"
                                                << "Smith   !";
        QTest::newRow("a text without trailing blanks") << text << "Smith   "
                                                        << "RTrim$(X.Item) & '!'"
                                                        << "Smith!";
        QTest::newRow("trailing blanks do not count in comparisons") << text << "Smith   "
                                                                     << "X.Item = 'Smith'"
                                                                     << "1";
        QTest::newRow("a picture is a text") << FormulaItem::DrawingType << "/tmp/TXF1.svg"
                                             << "X.Item"
                                             << "/tmp/TXF1.svg";
    }
    void valueTextsReadByType()
    {
        QFETCH(quint32, type);
        QFETCH(QString, valueText);
        QFETCH(QString, formula);
        QFETCH(QString, expected);
        Declared declared;
        declared.Declare("X.Item", valueText, type);
        QCOMPARE(Value(formula, declared.Context()), expected);
    }

    void itemsAreFoundByNameInAnyCase_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("expected");
        QTest::newRow("an undeclared item is empty") << "Contacts.Missing"
                                                     << "";
        QTest::newRow("an undeclared item is false") << "Cond(Contacts.Missing, 'yes', 'no')"
                                                     << "no";
        QTest::newRow("an undeclared item is not defined") << "Defined(Contacts.Missing)"
                                                           << "0";
        QTest::newRow("an undeclared item joins as nothing") << "'[' & Contacts.Missing & ']'"
                                                             << "[]";
        QTest::newRow("another case finds the item") << "contacts.LNAME"
                                                     << "Smith";
        QTest::newRow("another case is defined") << "Defined(CONTACTS.lname)"
                                                 << "1";
        QTest::newRow("a name given as a text") << "Defined('Contacts.LName')"
                                                << "1";
    }
    void itemsAreFoundByNameInAnyCase()
    {
        QFETCH(QString, formula);
        QFETCH(QString, expected);
        Declared declared;
        declared.Declare("Contacts.LName", "Smith", FormulaItem::TextType);
        QCOMPARE(Value(formula, declared.Context()), expected);
    }

    void aFormulaReadsTheValueDeclaredLast()
    {
        Declared declared;
        const Formula formula("Contacts.LName & ', ' & Contacts.Num");
        declared.Declare("Contacts.LName", "Smith", FormulaItem::TextType);
        declared.Declare("Contacts.Num", "1", FormulaItem::NumericType);
        QCOMPARE(formula.EvaluateForPrinting(declared.Context()), QString("Smith, 1"));
        declared.Declare("CONTACTS.LNAME", "Jones", FormulaItem::TextType);
        QCOMPARE(formula.EvaluateForPrinting(declared.Context()), QString("Jones, 1"));
    }

    void theFormulaLanguage_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const char* formula, const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(formula) << QString::fromUtf8(expected);
        };
        row("a blank formula", "  ", "");
        row("a number", "12.50", "12.5");
        row("a text in single quotes", "'it''s'", "it's");
        row("a text in double quotes", "\"say \"\"hi\"\"\"", "say \"hi\"");
        row("products before sums", "1 + 2 * 3", "7");
        row("parentheses first", "(1 + 2) * 3", "9");
        row("a division", "7 / 2", "3.5");
        row("from the left", "10 - 2 - 3", "5");
        row("a minus in front", "2 * -3", "-6");
        row("a minus before parentheses", "-(2 + 3)", "-5");
        row("items in arithmetic", "Task.Num / 4 + Task.Priority", "6");
        row("joined texts", "'a' & \"b\" & 'c'", "abc");
        row("a number joined", "'No. ' & Task.Num", "No. 12");
        row("sums before joins", "'x' & 1 + 2", "x3");
        row("joins before comparisons", "1 & 2 = '12'", "1");
        row("a text in a sum", "'5' + 1", "6");
        row("a text compared with a number", "Task.Num = '12'", "1");
        row("two texts compare as texts", "'10' < '9'", "1");
        row("two numbers compare as numbers", "10 < 9", "0");
        row("each comparison", "(1 = 1) & (1 <> 1) & (1 < 2) & (2 > 1) & (2 <= 2) & (1 >= 2)", "101110");
        row("and, not", "Task.Completed AND NOT Task.Private", "1");
        row("or", "Task.Private OR Task.Num = 12", "1");
        row("a tilde in front", "~Task.Completed", "0");
        row("and before or", "1 = 1 OR 1 = 2 AND 1 = 2", "1");
        row("or after and", "Task.Num = 12 AND Task.Priority < 2 OR Task.Completed", "1");
        row("contains", "Task.Description ~ 'ANN'", "1");
        row("cond", "Cond(Task.Completed, 'done', 'open')", "done");
        row("cond without else", "Cond(Task.Private, 'private')", "");
        row("cond evaluates only its branch", "Cond(Task.Notes = '', 'none', 1 / 0)", "none");
        row("choose from 0", "Choose(Task.Private, 'public', 'private')", "public");
        row("choose the last", "Choose(2, 'a', 'b', 'c')", "c");
        row("choose beyond the last", "Choose(5, 'a')", "");
        row("date$", "Date$(Task.DueDate)", "02/29/2024");
        row("date$ of a sum", "Date$(Task.DueDate + 1)", "03/01/2024");
        row("today", "Today()", "2460369");
        row("date$ of today", "Date$(Today())", "02/29/2024");
        row("now", "Date$(Now(), 'yyyy-mm-dd') & ' ' & Time$(Now())", "2024-02-29 18:30");
        row("a date compared with today", "Task.DueDate < Today()", "0");
        row("str$", "Str$(Task.Num)", "12");
        row("str$ with decimals", "Str$(7 / 2, 2)", "3.50");
        row("str$ of a third", "Str$(1 / 3)", "0.333333333333333");
        row("rtrim$", "RTrim$(Task.Description) & '.'", "Call Ann.");
        row("upper$", "Upper$(Task.Description)", "CALL ANN  ");
        row("upper", "UPPER('äbc')", "ÄBC");
        row("instring", "INSTRING('Ann', Task.Description)", "6");
        row("empty", "Empty(Task.Notes) & Empty(Task.Description) & Empty('   ')", "101");
        row("defined", "Defined(Task.Num) & Defined(Task.Nothing)", "10");
        row("page and last page", "'Page ' & Page() & ' of ' & LastPage()", "Page 3 of 7");
        row("the last page", "Cond(Page() = LastPage(), 'last', 'more')", "more");
        row("functions in any case", "date$(task.duedate) & str$(2)", "02/29/20242");
    }
    void theFormulaLanguage()
    {
        QFETCH(QString, formula);
        QFETCH(QString, expected);
        SetFixedClock(QDateTime(QDate(2024, 2, 29), QTime(18, 30)));
        Declared declared;
        declared.Declare("Task.Num", "12", FormulaItem::NumericType);
        declared.Declare("Task.Priority", "3", FormulaItem::NumericType);
        declared.Declare("Task.Description", "Call Ann  ", FormulaItem::TextType);
        declared.Declare("Task.DueDate", DateValue(81512), FormulaItem::DateType);
        declared.Declare("Task.Completed", "1", FormulaItem::BooleanType);
        declared.Declare("Task.Private", "0", FormulaItem::BooleanType);
        declared.Declare("Task.Notes", "", FormulaItem::TextType);
        QCOMPARE(Value(formula, declared.Context(3, 7)), expected);
    }

    void aWrongFormulaSaysWhatAndWhere_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("foundWhenRead"); // or only when evaluated
        QTest::newRow("an end too early") << "1 +"
                                          << "it ends too early at position 4" << true;
        QTest::newRow("a parenthesis left open") << "(1 + 2"
                                                 << "a closing parenthesis is missing at position 7" << true;
        QTest::newRow("a parenthesis too many")
            << "1 + 2)"
            << "a closing parenthesis at position 6 has no opening one" << true;
        QTest::newRow("a quote left open") << "'abc"
                                           << "the text starting at position 1 has no closing quote" << true;
        QTest::newRow("a character of no use") << "1 # 2"
                                               << "the character \"#\" at position 3 is not allowed" << true;
        QTest::newRow("two values side by side")
            << "Task.Num Task.Priority"
            << "\"Task.Priority\" at position 10 is not expected" << true;
        QTest::newRow("a number with two points") << "1.2.3"
                                                  << "\"1.2.3\" at position 1 is not a number" << true;
        QTest::newRow("an unknown function") << "1 + Lower$('a')"
                                             << "the function Lower$ at position 5 is not known" << true;
        QTest::newRow("too few arguments") << "Date$()"
                                           << "DATE$ at position 1 takes 1 to 2 arguments" << true;
        QTest::newRow("too many arguments") << "'a' & Page(1)"
                                            << "PAGE at position 7 takes 0 arguments" << true;
        QTest::newRow("too deep") << QString("(").repeated(200) + "1" + QString(")").repeated(200)
                                  << "it nests deeper than 100 levels at position 101" << true;
        QTest::newRow("a division by zero") << "1 / (Task.Num - 12)"
                                            << "a division by zero at position 6" << false;
    }
    void aWrongFormulaSaysWhatAndWhere()
    {
        QFETCH(QString, formula);
        QFETCH(QString, named);
        QFETCH(bool, foundWhenRead);
        Declared declared;
        declared.Declare("Task.Num", "12", FormulaItem::NumericType);
        const Formula parsed(formula);
        QCOMPARE(!parsed.Problem().Ok(), foundWhenRead);
        ExpressionValue value;
        const Status status = parsed.Evaluate(declared.Context(), value);
        QCOMPARE(status.Code(), StoreError::BadExpression);
        QCOMPARE(status.Message(),
                 QStringLiteral("The formula \"%1\" is not valid: %2.").arg(formula, named));
        // Printed, it is blank.
        QCOMPARE(parsed.EvaluateForPrinting(declared.Context()), QString());
    }
};

QTEST_GUILESS_MAIN(FormulaTest)
#include "tst_Formula.moc"
