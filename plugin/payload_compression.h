#pragma once
// Compression of the order-line payload: exactly one zlib stream (level 1, window bits 15, memory level 9),
// no prefix of our own. The decoder is tolerant: zlib, gzip or raw deflate are accepted, the trailer is not
// checked, and bytes that do not decode are passed on unchanged.
#include "platform/core/stream.h"

namespace plugin {

// Compresses the whole of `source` and writes the zlib stream at the current position of `destination`,
// then rewinds `destination`. Returns false when zlib fails; `destination` then holds a truncated stream
// that must not be handed on.
bool CompressStream(core::MemoryStream& source, core::Stream& destination);

// Writes the decoded bytes of `source` into `destination`, or the unchanged bytes of `source` when they
// cannot be decoded. Leaves `source` just behind the deflate data (or at 0 after a fallback) and
// `destination` at 0. Never fails.
void DecompressStream(core::Stream& source, core::MemoryStream& destination);

}  // namespace plugin
