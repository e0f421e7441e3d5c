#pragma once

#include <QString>

namespace core {

// The one way a value enters a statement: a quoted literal with every
// single quote doubled, so the text is stored as typed and cannot end the
// literal early.
QString q(const QString &value);

// A number spliced into arithmetic or a number column. The text is checked
// first (SQLite would quietly turn bad text into 0) and ConversionError is
// thrown for anything that is not a number; the result is quoted like q().
QString qNumber(const QString &text);
QString qNumber(double value);

} // namespace core
