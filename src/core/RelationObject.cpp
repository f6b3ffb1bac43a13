#include "core/RelationObject.h"

#include "core/AccessObject.h"

namespace jornix {

void RelationObject::Init(ErrorReporter& errors, FileManager*& accessReference, TableRelations*& reference)
{
    access_.Init(errors, accessReference);
    TableRelations::Init(access_, true);
    reference_ = &reference;
}

void RelationObject::Kill()
{
    access_.Kill();
    TableRelations::Kill();
    if (reference_)
        *reference_ = nullptr;
    reference_ = nullptr;
}

} // namespace jornix
