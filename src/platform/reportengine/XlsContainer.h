#pragma once

#include <cstddef>
#include <string>

// The OLE2 compound file of a ".xls" workbook, made with libgsf: one stream "Workbook" holding the given
// bytes, padded with zeros to at least 4096 bytes so that it lives in the file's regular sectors. This file
// and its .cpp hold no Qt headers: glib's headers name things "signals", which Qt defines as a keyword.
namespace jornix {

constexpr std::size_t MinimumWorkbookStream = 4096;

// The file's bytes are made in memory, so that the caller writes them through its own save file.
// False with the reason in `error` when the container cannot be made.
bool MakeWorkbookFile(const unsigned char* workbook, std::size_t size, std::string& file, std::string& error);

} // namespace jornix
