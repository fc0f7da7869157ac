#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/script_settings.h"

namespace lq {

// One sentence for each place a name's value goes (a name variable in the main head, header,
// queue or main queue, and the written name between header and queue unless the path mode
// writes none) whose quotes do not fit the escaping chosen: which text, which variable or the
// name, what surrounds it and what the kind escapes for. Only the texts' own bytes decide:
// an escaped value never opens or closes a quote. In the order the output holds the places,
// each sentence once; empty when everything fits. header and queue are read as the
// composer reads them.
std::vector<std::string> QuoteWarnings(const ScriptSettings& settings, std::string_view header,
                                       std::string_view queue);

}  // namespace lq
