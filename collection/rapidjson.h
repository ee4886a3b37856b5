// rapidjson (Debian's rapidjson-dev, header-only, for the native and the Windows builds): its
// reader (the SAX interface collection/json_tree.h builds on) and its writers, with the settings
// Citara builds it with.
#pragma once

// The vector scans of whitespace and of strings, where the target has SSE (every x64 processor,
// and the i686 build when compiled for it). They read the text in aligned blocks of 16 bytes,
// which may pass its end within a block: no fault (a block never crosses a page), but a report
// from AddressSanitizer, so the sanitized builds scan byte by byte.
#if defined(__SANITIZE_ADDRESS__)
#define CITARA_SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CITARA_SANITIZED_BUILD 1
#endif
#endif
#if !defined(CITARA_SANITIZED_BUILD)
#if defined(__SSE4_2__)
#define RAPIDJSON_SSE42
#elif defined(__SSE2__)
#define RAPIDJSON_SSE2
#endif
#endif

#include <rapidjson/error/en.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
