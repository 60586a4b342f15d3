// Taking the content out of an element whose text starts with its opening tag.
#pragma once

#include "platform/Win32Types.h"

// Copies the part of `source` after its first '>', terminator included, to `destination`; they
// may be the same buffer. A source without '>' gives the empty text. The destination must hold
// at least as many characters as the source.
void TextAfterTag(const WCHAR* source, WCHAR* destination);
