#pragma once

class QPrinter;

namespace jornix {

// The printer chosen for the whole program: the frame's "Printer Setup" sets it up, and the documents and
// reports that print without a printer of their own print on it. It is made at its first use, so a program
// that never prints never asks the print system for a printer.
QPrinter& ProgramPrinter();

} // namespace jornix
