#pragma once
// Rows as one line of text: the address caption of dialogs, confirmations
// and the notebook, and the address text of the clipboard.

#include <string>

#include "records.h"

inline constexpr std::size_t kShortCaptionLength = 14;

// "%s %s/%d-%d" when there is a corpus, else "%s %s-%d" when there is an
// entrance, else "%s %s". Shortened, a text longer than 14 characters has
// its street cut (never below one character) until it fits; house, corpus
// and entrance are never cut.
std::string AddressCaption(const BaseRecord& row, bool shortened);

// "%s\t%s\t%d\t%d\t%s\t%s\t%d\n": street, house, corpus, entrance, key,
// comment, default-key flag.
std::string AddressTextLine(const BaseRecord& row);
