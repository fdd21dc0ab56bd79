// The values of the controls read back from their text (Control::setValueText). A text is taken
// whole or refused: no spaces around it, nothing after the number.
#pragma once

#include <string>

#include "base/Exception.h"

namespace loom::params {

// Text that is not a value of the control's type.
class BadLexicalCast : public Exception {
public:
    BadLexicalCast()
        : Exception("bad lexical cast: source type value could not be interpreted as target") {}
};

// "1" or "0", which may carry leading zeros and a sign ("+1", "01", "-0"; not "-1"). Throws
// BadLexicalCast on anything else, "true" included.
bool boolFromText(const std::string& text);

// A decimal float with an optional sign, ".5" and "1." included, or inf, infinity, nan or
// nan(chars) in any case. A value too small for a float is 0 (with its sign); one too large, or
// beyond a long double's range either way, throws BadLexicalCast, as does anything else (hex, "1e").
float floatFromText(const std::string& text);

}  // namespace loom::params
