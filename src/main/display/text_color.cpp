// Text colours in integer hue/lightness/saturation, each 0..252. All the
// divisions are integer divisions of non-negative numbers that round as the
// added half-divisor terms say, so results are reproducible to the unit.
#include "main/display/text_color.h"

#include <cstring>

#include "toolbox/tbas.h"
#include "main/phrase/phrase.h"

namespace {

constexpr std::int32_t sixthOfHue = hlsMax / 6;  // 42
constexpr std::int32_t thirdOfHue = hlsMax / 3;  // 84
constexpr std::int32_t byteMax = 255;

// Percent to the 0..252 scale, and to the 0..126 half hue circle.
constexpr double lightnessPerPercent = 2.52;
constexpr double huePerPercent = 1.26;

std::int32_t maxOf3(std::int32_t a, std::int32_t b, std::int32_t c) {
    std::int32_t m = a > b ? a : b;
    return m > c ? m : c;
}

std::int32_t minOf3(std::int32_t a, std::int32_t b, std::int32_t c) {
    std::int32_t m = a < b ? a : b;
    return m < c ? m : c;
}

// One channel's level on the 0..252 scale; m1 <= m2 and h within one turn
// of the circle, which is all hlsToRgb ever passes.
std::int32_t hueToRgb(std::int32_t m1, std::int32_t m2, std::int32_t h) {
    if (h < 0) h += hlsMax;
    if (h > hlsMax) h -= hlsMax;
    if (h < sixthOfHue) return m1 + ((m2 - m1) * h + sixthOfHue / 2) / sixthOfHue;
    if (h < halfHueCircle) return m2;
    if (h < 2 * thirdOfHue) return m1 + ((m2 - m1) * (2 * thirdOfHue - h) + sixthOfHue / 2) / sixthOfHue;
    return m1;
}

std::int32_t levelToByte(std::int32_t level) { return (level * byteMax + hlsMax / 2) / hlsMax; }

// A percentage bound on a scale: taken to the nearest integer, read as an
// unsigned 16-bit value and lowered to the limit. A negative percentage thus
// wraps to a large value and ends at the limit. The rounding itself holds a
// product beyond the 32-bit range to that range and makes not a number 0.
std::uint16_t scaledBound(double percent, double factor, std::uint16_t limit) {
    auto bound = static_cast<std::uint16_t>(static_cast<std::uint32_t>(nearestLong(percent * factor)));
    return bound > limit ? limit : bound;
}

}  // namespace

HlsColor rgbToHls(ColorRef color) {
    auto r = static_cast<std::int32_t>(redOf(color));
    auto g = static_cast<std::int32_t>(greenOf(color));
    auto b = static_cast<std::int32_t>(blueOf(color));
    std::int32_t max = maxOf3(r, g, b);
    std::int32_t min = minOf3(r, g, b);

    HlsColor hls;
    hls.lightness = static_cast<std::uint16_t>(((max + min) * hlsMax + byteMax) / (2 * byteMax));
    if (max == min) {
        hls.saturation = 0;
        hls.hue = greyHue;
        return hls;
    }
    // max != min keeps both divisors at 1 or more.
    std::int32_t s = hls.lightness <= halfHueCircle ? max + min : 2 * byteMax - max - min;
    std::int32_t d = max - min;
    hls.saturation = static_cast<std::uint16_t>((d * hlsMax + s / 2) / s);

    std::int32_t rd = ((max - r) * sixthOfHue + d / 2) / d;
    std::int32_t gd = ((max - g) * sixthOfHue + d / 2) / d;
    std::int32_t bd = ((max - b) * sixthOfHue + d / 2) / d;
    std::int32_t hue;
    if (r == max)
        hue = bd - gd;
    else if (g == max)
        hue = thirdOfHue + rd - bd;
    else
        hue = 2 * thirdOfHue + gd - rd;
    if (hue < 0) hue += hlsMax;
    if (hue > hlsMax) hue -= hlsMax;
    hls.hue = static_cast<std::uint16_t>(hue);
    return hls;
}

ColorRef hlsToRgb(std::uint16_t hue, std::uint16_t lightness, std::uint16_t saturation) {
    // Components beyond the scale would give channels above 255 that spill
    // into the neighbouring byte.
    std::int32_t h = hue > hlsMax ? hue % hlsMax : hue;
    std::int32_t l = lightness > hlsMax ? hlsMax : lightness;
    std::int32_t s = saturation > hlsMax ? hlsMax : saturation;

    if (s == 0) {
        auto v = static_cast<std::uint32_t>(l * byteMax / hlsMax);
        return rgbColor(v, v, v);
    }
    std::int32_t m2 = l <= halfHueCircle ? (l * (hlsMax + s) + hlsMax / 2) / hlsMax
                                         : l + s - (l * s + hlsMax / 2) / hlsMax;
    std::int32_t m1 = 2 * l - m2;
    auto r = static_cast<std::uint32_t>(levelToByte(hueToRgb(m1, m2, h + thirdOfHue)));
    auto g = static_cast<std::uint32_t>(levelToByte(hueToRgb(m1, m2, h)));
    auto b = static_cast<std::uint32_t>(levelToByte(hueToRgb(m1, m2, h - thirdOfHue)));
    return rgbColor(r, g, b);
}

bool isDarkColor(ColorRef color) { return rgbToHls(color).lightness < halfHueCircle; }

HlsColor randomTextHls() {
    std::uint16_t minL = scaledBound(settings.MinBrightness, lightnessPerPercent, hlsMax);
    std::uint16_t maxL = scaledBound(settings.MaxBrightness, lightnessPerPercent, hlsMax);
    if (maxL < minL) minL = maxL / 2;
    std::uint16_t minS = scaledBound(settings.MinSaturation, lightnessPerPercent, hlsMax);
    std::uint16_t maxS = scaledBound(settings.MaxSaturation, lightnessPerPercent, hlsMax);
    if (maxS < minS) minS = maxS / 2;

    HlsColor background = rgbToHls(settings.BackgroundColor);
    std::int32_t hue;
    if (background.saturation == 0) {
        // A grey background has no hue to keep away from.
        hue = randomInRange(0, hlsMax);
    } else {
        std::int32_t gap = scaledBound(settings.MinTextcolorContrast, huePerPercent, halfHueCircle);
        if (coinFlip() == 1)
            hue = background.hue + randomInRange(gap, halfHueCircle);
        else
            hue = background.hue - randomInRange(gap, halfHueCircle);
        if (hue > hlsMax)
            hue -= hlsMax;
        else if (hue < 0)
            hue += hlsMax;
    }

    HlsColor text;
    text.hue = static_cast<std::uint16_t>(hue);
    text.lightness = static_cast<std::uint16_t>(randomInRange(minL, maxL));
    text.saturation = static_cast<std::uint16_t>(randomInRange(minS, maxS));
    return text;
}

ColorRef randomTextColor() {
    HlsColor c = randomTextHls();
    return hlsToRgb(c.hue, c.lightness, c.saturation);
}

ColorRef shadowColor(ColorRef text, double fraction) {
    if (std::strcmp(settings.ShadowStyle, "3D Funky") == 0) return randomTextColor();

    // Beyond [0, 1] the lightness formulas divide by zero or turn negative.
    if (!(fraction > 0)) fraction = 0;
    if (fraction > 1) fraction = 1;

    HlsColor c = rgbToHls(text);
    std::int32_t lightness;
    if (isDarkColor(settings.BackgroundColor)) {
        lightness = nearestLong(c.lightness / (1 + fraction));
    } else {
        lightness = static_cast<std::int32_t>(c.lightness * (1 + fraction / 2));
        if (lightness > hlsMax) lightness = hlsMax;
    }
    return hlsToRgb(c.hue, static_cast<std::uint16_t>(lightness), c.saturation);
}
