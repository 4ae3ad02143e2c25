#pragma once

#include <QString>

// The fax number box holds free text: the recipient's number, optionally
// followed by a comment that names the recipient ("123456 (My Favorite
// Client)"). Only the leading digits are the number.

// A typed character is discarded once the text is longer than this, so typing
// can reach one character more.
constexpr int kMaxFaxNumberTyped = 60;
// Any other change (paste, choice from the list) that makes the text longer
// than this cuts it to kMaxFaxNumberTyped characters.
constexpr int kMaxFaxNumberText = 61;

// The leading run of ASCII decimal digits of the text; empty when the text
// does not begin with a digit (also for an empty text).
QString ExtractFaxNumber(const QString& text);
