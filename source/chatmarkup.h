#pragma once
// The markup players and the server write into chat and speech texts: colour codes such as
// "{r:" ... "}" and emoticons such as ":)". Both become the inline marks text drawing knows: a
// code becomes a colour escape that tints the current colour, an emoticon a smiley mark.
#include <cstdint>
#include <string>

// Replaces up to `limit` occurrences of the code, from the left, by the escape of the packed
// colour 0xAARRGGBB; a space right after the code goes with it unless it ends the text. Returns
// how many were replaced.
int32_t ReplaceColourCode(std::string& text, const std::string& code, uint32_t colour,
                          int32_t limit);
// The six opening codes, at most 255 of each, then as many "}" as openings were replaced.
void ReplaceColourCodes(std::string& text);
// Every occurrence of the emoticon becomes the smiley mark of the icon; returns how many.
int32_t ReplaceEmoticon(std::string& text, const std::string& emoticon, uint8_t icon);
// Every row of EmoticonTable, in order.
void ReplaceEmoticons(std::string& text);
