#include "platform/store/StepBudget.h"

#include "platform/store/Sqlite.h"

#include <algorithm>
#include <limits>

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

namespace {

int CacheMisses(sqlite3* db)
{
    int misses = 0, highest = 0;
    sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_MISS, &misses, &highest, 0);
    return misses;
}

} // namespace

void StepBudget::LimitPageReads(sqlite3* db, qint64 pages)
{
    pagesOf_ = db;
    pagesLimit_ = int(std::min<qint64>(CacheMisses(db) + pages, std::numeric_limits<int>::max()));
}

int StepBudget::Check(void*)
{
    StepBudget* budget = current;
    if (!budget)
        return 0;
    budget->left_ -= StepsPerCheck;
    if (budget->left_ < 0 ||
        (budget->noFullScan_ &&
         sqlite3_stmt_status(budget->noFullScan_, SQLITE_STMTSTATUS_FULLSCAN_STEP, 0) > 0) ||
        (budget->pagesOf_ && CacheMisses(budget->pagesOf_) > budget->pagesLimit_))
        budget->exceeded_ = true;
    return budget->exceeded_ ? 1 : 0;
}

} // namespace jornix
