#include "screens/charset_option.h"

#include "screens/rejection_line.h"

CharacterSet ReadCharsetValue(std::string_view value) {
  if (value == "upper") return CharacterSet::Upper;
  if (value == "lower") return CharacterSet::Lower;
  RejectQuoted("unknown character set ", value, "; the sets are upper and lower.");
}
