#pragma once

#include "platform/framework/ErrorReporter.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"

// The program's data layer: one access object and one relation object per table, reached only through
// these references (null until InitDataLayer and after KillDataLayer).
namespace jornix {

inline ErrorReporter GlobalErrorReporter;

extern FileManager* AccessLOG;
extern FileManager* AccessUSR;
extern FileManager* AccessREM;
extern FileManager* AccessTSK;
extern FileManager* AccessCON;
extern FileManager* AccessSCR;
extern FileManager* AccessSTK;
extern FileManager* AccessMSC;
extern FileManager* AccessLLA_;
extern FileManager* AccessLLL_;
extern FileManager* AccessOLD10;

extern TableRelations* RelationsLOG;
extern TableRelations* RelationsUSR;
extern TableRelations* RelationsREM;
extern TableRelations* RelationsTSK;
extern TableRelations* RelationsCON;
extern TableRelations* RelationsSCR;
extern TableRelations* RelationsSTK;
extern TableRelations* RelationsMSC;
extern TableRelations* RelationsLLA_;
extern TableRelations* RelationsLLL_;
extern TableRelations* RelationsOLD10;

// Sets the relation references, then initialises every table's relation and access object (on
// GlobalErrorReporter, which must be initialised first). No file is opened.
void InitDataLayer();
// Kills every relation object (and its access object) in the same order and clears the references.
void KillDataLayer();

} // namespace jornix
