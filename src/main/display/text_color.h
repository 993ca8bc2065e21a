// Text colours: an integer hue/lightness/saturation model with its
// conversions to and from colour references, the random text colour drawn
// within the settings' bounds, and the colours of the shadow copies.
#pragma once

#include <cstdint>

#include "main/settings/settings.h"

// Colour references from and into their three bytes (0x00BBGGRR).
constexpr ColorRef rgbColor(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}
constexpr std::uint32_t redOf(ColorRef c) { return c & 0xFF; }
constexpr std::uint32_t greenOf(ColorRef c) { return c >> 8 & 0xFF; }
constexpr std::uint32_t blueOf(ColorRef c) { return c >> 16 & 0xFF; }

// Every component runs from 0 to hlsMax. Hue is a circle of hlsMax units:
// 0 and 252 are the same red, 84 is green, 168 blue, 42 units are 60 degrees.
constexpr std::int32_t hlsMax = 252;
constexpr std::int32_t halfHueCircle = 126;
// The hue of every achromatic colour (grey, black, white).
constexpr std::uint16_t greyHue = 168;

struct HlsColor {
    std::uint16_t hue;
    std::uint16_t lightness;
    std::uint16_t saturation;
};

HlsColor rgbToHls(ColorRef color);
// Lightness and saturation above hlsMax count as hlsMax, and a hue above it
// is taken round the circle, so every result is a valid colour reference.
ColorRef hlsToRgb(std::uint16_t hue, std::uint16_t lightness, std::uint16_t saturation);
// True when the colour's lightness is below half the scale.
bool isDarkColor(ColorRef color);

// A random colour within the settings' brightness and saturation bounds and,
// on a coloured background, at least MinTextcolorContrast away from its hue.
// Draws the hue (one value, or the coin and then the distance), then the
// lightness, then the saturation, all through randomInRange and coinFlip.
HlsColor randomTextHls();
ColorRef randomTextColor();

// The colour of one shadow copy, fraction in (0, 1] being how far it stands
// (1 for the farthest): darker than the text on a dark background, lighter on
// a light one. With the "3D Funky" style each copy gets a new random colour.
// A fraction outside [0, 1] counts as the nearer end of that range.
ColorRef shadowColor(ColorRef text, double fraction);
