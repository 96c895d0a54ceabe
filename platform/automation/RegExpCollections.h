#pragma once
// The objects an executed regular expression hands out: the match collection (Count,
// Item), each match (Value, FirstIndex, Length, SubMatches) and each match's sub-match
// collection (Count, Item). Items count from 0; an index outside the collection fails.
// A sub-match that took no part in its match reads as an empty value.
#include <memory>
#include <vector>

#include "core/automation/AutomationInstance.h"
#include "platform/automation/RegExpMatch.h"

namespace korvel::platform {

std::shared_ptr<AutomationInstance> NewMatchCollection(std::vector<RegExpMatch> matches);

}  // namespace korvel::platform
