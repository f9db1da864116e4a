#pragma once
// A picture file as the imaging component reads it: an IStream over the
// file's ByteSource, read a piece at a time where the component asks, so
// that a big file is never held whole.

#include <objidl.h>

#include "hosts/win32/com_ref.h"
#include "imaging/byte_source.h"

namespace pictavo::platform::win32 {

// Read-only; source must outlive every use of the stream.
ComRef<IStream> streamOver(const imaging::ByteSource& source);

}  // namespace pictavo::platform::win32
