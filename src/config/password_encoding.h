#pragma once
// The saver's own password is kept only in encoded form. Checking a typed
// password means encoding it and comparing the two encoded texts, so the
// encoding must give the same text on every build, for every character.

#include <cstdint>
#include <string>
#include <string_view>

namespace pictavo::config {

// Codes the stored text must not gain: control codes, the blank, "=", "["
// and "]" (which would upset an initialisation file) and 127..144, 147..159.
bool isReservedCode(int code);

// code := code XOR key, unless the result would be a reserved code.
void EncodeStep(int16_t& code, int16_t key);

// Encodes single-byte (Windows-1252) text; the result has the same length.
std::string encodePasswordBytes(std::string_view cp1252);

// Encodes typed UTF-8 text: through Windows-1252 (characters it lacks count
// as "?"), encoded, and back to UTF-8 for the settings store. Letter case
// does not matter; the empty text stays empty.
std::string EncodePassword(std::string_view text);

}  // namespace pictavo::config
