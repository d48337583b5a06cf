// The whole skin model as JSON, for people who make skins: skin-wide values, sections,
// masks, patterns, outer effects, palette and constant indexes.
#pragma once
#include <nlohmann/json.hpp>

#include "SkinLoad.h"
#include "skin/SkinModel.h"

namespace skintool {

nlohmann::ordered_json ModelToJson(const sk::TSkinModel& model);

// Loads a packed file (".kvp") or a skin folder through the manager's loaders, tinted.
nlohmann::ordered_json LoadModelJson(const TSkinRequest& request);

}  // namespace skintool
