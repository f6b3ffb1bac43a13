#pragma once

#include <QString>
#include <QStringView>

namespace jornix {

// Texts of fixed-width fields are padded with blanks; these give the text without them (blanks only: a
// trailing tab or line break is part of the text).
QString StripTrailingBlanks(const QString& text);
QStringView StripTrailingBlanks(QStringView text);

} // namespace jornix
