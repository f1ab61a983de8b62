#pragma once
// The HEVC decoder libheif uses for the pictures the program reads: libde265, as libheif's own
// plugin drives it, but with every picture buffer cleared before decoding, so that a damaged
// stream that leaves parts of a picture undecoded can never show memory, and with any warning
// of the decoder taken as an error.

struct heif_decoder_plugin;

namespace tessel {

// The plugin, of a higher priority than libheif's own HEVC decoder; register it with
// heif_register_decoder on each context that reads a file.
const heif_decoder_plugin& clearedHevcDecoder();

}  // namespace tessel
