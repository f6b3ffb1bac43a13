#pragma once

#include <QtGlobal>

struct sqlite3;
struct sqlite3_stmt;

namespace jornix {

// A limit on the work of the statements that this thread runs while the budget lives: a statement that goes
// beyond it stops with SQLITE_INTERRUPT, so that a plan whose cost is not known beforehand can be tried and
// given up cheaply. The work is counted in steps of SQLite's virtual machine, about a few per row visited.
// A watched statement may also be refused a pass over a whole table: it stops at its first such step. The
// pages read from a file may be limited too: a page not in the cache costs far more than a step.
class StepBudget
{
public:
    explicit StepBudget(qint64 steps);
    ~StepBudget();
    StepBudget(const StepBudget&) = delete;
    StepBudget& operator=(const StepBudget&) = delete;

    void RefuseFullScan(sqlite3_stmt* statement) { noFullScan_ = statement; }
    // At most so many pages read into the cache of db (read from the file and deciphered) from now on.
    void LimitPageReads(sqlite3* db, qint64 pages);
    bool Exceeded() const { return exceeded_; }

    // Installed on every connection of the store; it answers for the thread that steps.
    static void Install(sqlite3* db);

private:
    static int Check(void*);
    qint64 left_;
    sqlite3_stmt* noFullScan_ = nullptr;
    sqlite3* pagesOf_ = nullptr;
    int pagesLimit_ = 0; // the cache misses of pagesOf_ at which the budget ends
    bool exceeded_ = false;
    StepBudget* outer_;
};

} // namespace jornix
