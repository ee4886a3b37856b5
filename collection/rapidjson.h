// rapidjson (Debian's rapidjson-dev, header-only, for the native and the Windows builds): its
// reader (the SAX interface collection/json_tree.h builds on) and its writers, with the settings
// Citara builds it with.
#pragma once

#include <rapidjson/error/en.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
