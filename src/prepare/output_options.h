#pragma once
#include <string_view>

#include "prepare/prepare_settings.h"

// The options that concern the outputs rather than the picture: --colour,
// and those of cellglyph-export and cellglyph-render that apply here.
// Whether name is one of them, and whether it takes a value.
bool IsOutputOption(std::string_view name, bool& takesValue);

// Sets the option's value into settings and notes it as given; a value it
// cannot take ends the run with the rejection line.
void SetOutputOption(std::string_view name, std::string_view value, PrepareSettings& settings,
                     uint32_t& given);

// Takes the output names: each one's format from its extension, a single
// name without a known one being the 1-bit BMP as it always was. Then turns
// down, with the rejection line, an output this build cannot write and an
// option that none of the outputs uses or that goes against another.
void SettleOutputs(PrepareOutputs& outputs, const PrepareSettings& settings, uint32_t given);
