#pragma once

#include "platform/framework/TableRelations.h"

namespace jornix {

class AccessObject;
class ErrorReporter;
class FileManager;

// The relation object of one table: initialises its access object, then binds itself to it with
// transactions on; its kill undoes both and clears the references.
class RelationObject : public TableRelations
{
public:
    explicit RelationObject(AccessObject& access) : access_(access) {}

    void Init(ErrorReporter& errors, FileManager*& accessReference, TableRelations*& reference);
    void Kill() override;

private:
    AccessObject& access_;
    TableRelations** reference_ = nullptr;
};

} // namespace jornix
