#pragma once

// SQLCipher declares sqlite3_key only with SQLITE_HAS_CODEC.
#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlite3.h>
