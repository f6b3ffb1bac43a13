#include "platform/store/StepBudget.h"

#include "platform/store/Sqlite.h"

namespace jornix {
namespace {

constexpr int StepsPerCheck = 64;

// The budget of the running OS thread; a connection is shared by the threads, the budget is not.
thread_local StepBudget* current = nullptr;

} // namespace

StepBudget::StepBudget(qint64 steps) : left_(steps), outer_(current)
{
    current = this;
}

StepBudget::~StepBudget()
{
    current = outer_;
}

void StepBudget::Install(sqlite3* db)
{
    sqlite3_progress_handler(db, StepsPerCheck, &StepBudget::Check, nullptr);
}

int StepBudget::Check(void*)
{
    StepBudget* budget = current;
    if (!budget)
        return 0;
    budget->left_ -= StepsPerCheck;
    if (budget->left_ < 0 ||
        (budget->noFullScan_ && sqlite3_stmt_status(budget->noFullScan_, SQLITE_STMTSTATUS_FULLSCAN_STEP, 0) > 0))
        budget->exceeded_ = true;
    return budget->exceeded_ ? 1 : 0;
}

} // namespace jornix
