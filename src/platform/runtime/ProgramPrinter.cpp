#include "platform/runtime/ProgramPrinter.h"

#include <QPrinter>

namespace jornix {

QPrinter& ProgramPrinter()
{
    // Left to the end of the program: the print system's resources go with the application.
    static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}

} // namespace jornix
