// Tests of the text colours: the two conversions on known colours and over
// their whole domains, the random colour under many settings, the shadows.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include "main/phrase/phrase.h"
#include "main/display/text_color.h"

namespace {

int hueDistance(int a, int b) {
    int d = ((a - b) % 252 + 252) % 252;
    return d < 126 ? d : 252 - d;
}
bool channelsAtMost(ColorRef a, ColorRef b) {
    return redOf(a) <= redOf(b) && greenOf(a) <= greenOf(b) && blueOf(a) <= blueOf(b);
}
ColorRef viaHls(ColorRef c) {
    HlsColor x = rgbToHls(c);
    return hlsToRgb(x.hue, x.lightness, x.saturation);
}

// Random draws replay from a fixed seed once randomInRange has seeded itself.
struct TextColor : ::testing::Test {
    Settings saved = settings;
    void SetUp() override {
        randomInRange(0, 0);
        std::srand(2024);
    }
    void TearDown() override { settings = saved; }
};

}  // namespace

TEST(ColorConversion, KnownColours) {
    struct Case { int r, g, b, h, l, s; } cases[] = {
        {0, 0, 0, 168, 0, 0}, {255, 255, 255, 168, 252, 0}, {128, 128, 128, 168, 126, 0},
        {255, 0, 0, 0, 126, 252}, {0, 255, 0, 84, 126, 252}, {0, 0, 255, 168, 126, 252},
        {255, 255, 0, 42, 126, 252}, {0, 255, 255, 126, 126, 252}, {255, 0, 255, 210, 126, 252},
        {128, 0, 0, 0, 63, 252}, {200, 56, 56, 0, 126, 142}};
    for (const Case &c : cases) {
        HlsColor x = rgbToHls(rgbColor(c.r, c.g, c.b));
        EXPECT_TRUE(x.hue == c.h && x.lightness == c.l && x.saturation == c.s)
            << c.r << "," << c.g << "," << c.b << " gave " << x.hue << "," << x.lightness << "," << x.saturation;
        // Fully saturated colours come back exactly.
        if (c.s == 252) {
            EXPECT_EQ(hlsToRgb(c.h, c.l, c.s), rgbColor(c.r, c.g, c.b)) << c.r << "," << c.g << "," << c.b;
        }
    }
    EXPECT_EQ(hlsToRgb(168, 126, 0), rgbColor(127, 127, 127));
    EXPECT_EQ(hlsToRgb(0, 189, 252), rgbColor(255, 128, 128));
    EXPECT_EQ(hlsToRgb(0, 126, 1), rgbColor(129, 126, 126));
    EXPECT_EQ(hlsToRgb(1, 100, 200), rgbColor(181, 25, 21));
    EXPECT_EQ(hlsToRgb(99, 0, 200), rgbColor(0, 0, 0));
    EXPECT_EQ(hlsToRgb(99, 252, 200), rgbColor(255, 255, 255));
    EXPECT_TRUE(isDarkColor(rgbColor(126, 126, 126)));
    EXPECT_FALSE(isDarkColor(rgbColor(127, 127, 127)));
}

TEST(ColorConversion, GreysAndAnRgbGridStayInScaleAndComeBackClose) {
    int last = 0;
    for (int v = 0; v < 256; ++v) {
        HlsColor x = rgbToHls(rgbColor(v, v, v));
        ASSERT_TRUE(x.hue == 168 && x.saturation == 0 && x.lightness >= last && x.lightness <= 252) << v;
        last = x.lightness;
    }
    EXPECT_EQ(last, 252);
    // 0, 4, ..., 252 and 255 on each channel.
    for (int r = 0; r <= 256; r += 4)
        for (int g = 0; g <= 256; g += 4)
            for (int b = 0; b <= 256; b += 4) {
                ColorRef c = rgbColor(r - r / 256, g - g / 256, b - b / 256);
                HlsColor x = rgbToHls(c);
                ColorRef back = hlsToRgb(x.hue, x.lightness, x.saturation);
                bool grey = redOf(c) == greenOf(c) && greenOf(c) == blueOf(c);
                bool near = std::abs(int(redOf(back)) - int(redOf(c))) <= 4 &&
                            std::abs(int(greenOf(back)) - int(greenOf(c))) <= 4 &&
                            std::abs(int(blueOf(back)) - int(blueOf(c))) <= 4;
                ASSERT_TRUE(x.hue <= 252 && x.lightness <= 252 && x.saturation <= 252 &&
                            (x.saturation == 0) == grey && near) << std::hex << c;
            }
}

TEST(ColorConversion, EveryHlsTripleGivesAColourNearIt) {
    for (int h = 0; h <= 252; ++h)
        for (int l = 0; l <= 252; ++l)
            for (int s = 0; s <= 252; ++s) {
                ColorRef c = hlsToRgb(h, l, s);
                HlsColor x = rgbToHls(c);
                bool ok = c <= 0xFFFFFF && std::abs(x.lightness - l) <= 1 &&
                          (s > 0 || c == hlsToRgb(0, l, 0)) && (h > 0 || c == hlsToRgb(252, l, s));
                // Away from black and white, with colour enough, hue and saturation survive too.
                if (l >= 63 && l <= 189 && s >= 126)
                    ok = ok && hueDistance(x.hue, h) <= 1 && std::abs(x.saturation - s) <= 3;
                if (!ok) FAIL() << h << "," << l << "," << s << " gave " << std::hex << c;
            }
}

TEST(ColorConversion, ComponentsBeyondTheScaleAreHeldToIt) {
    EXPECT_EQ(hlsToRgb(0, 300, 0), rgbColor(255, 255, 255));
    EXPECT_EQ(hlsToRgb(0, 65535, 252), rgbColor(255, 255, 255));
    EXPECT_EQ(hlsToRgb(0, 126, 999), hlsToRgb(0, 126, 252));
    EXPECT_EQ(hlsToRgb(300, 126, 252), hlsToRgb(48, 126, 252));
    EXPECT_EQ(hlsToRgb(65535, 100, 200), hlsToRgb(65535 % 252, 100, 200));
}

TEST_F(TextColor, LightnessAndSaturationStayWithinTheScaledBounds) {
    struct Case { double minB, maxB, minS, maxS; int minL, maxL, lowS, highS; } cases[] = {
        {50, 75, 75, 100, 126, 189, 189, 252}, {0, 100, 0, 100, 0, 252, 0, 252},
        {25, 25, 100, 100, 63, 63, 252, 252},
        {75, 50, 100, 75, 63, 126, 94, 189},     // reversed: from half the maximum up
        {-1, 75, -0.3, 100, 94, 189, 252, 252},  // negatives wrap to the top
        {150, 1e9, -50, -20, 252, 252, 252, 252},
        {0, 26050, 0, 100, 0, 110, 0, 252},      // 65646 read in 16 bits
        {std::nan(""), 1e300, -1e300, INFINITY, 0, 252, 0, 252}};
    for (const Case &c : cases) {
        settings.MinBrightness = c.minB, settings.MaxBrightness = c.maxB;
        settings.MinSaturation = c.minS, settings.MaxSaturation = c.maxS;
        int minL = 999, maxL = -1, minS = 999, maxS = -1, minH = 999, maxH = -1;
        for (int i = 0; i < 4000; ++i) {
            HlsColor x = randomTextHls();
            minL = std::min<int>(minL, x.lightness), maxL = std::max<int>(maxL, x.lightness);
            minS = std::min<int>(minS, x.saturation), maxS = std::max<int>(maxS, x.saturation);
            minH = std::min<int>(minH, x.hue), maxH = std::max<int>(maxH, x.hue);
        }
        EXPECT_TRUE(minL == c.minL && maxL == c.maxL && minS == c.lowS && maxS == c.highS && minH == 0 && maxH == 252)
            << c.minB << " " << c.maxB << " " << c.minS << " " << c.maxS << ": " << minL << ".." << maxL << " "
            << minS << ".." << maxS << " hue " << minH << ".." << maxH;
    }
}

TEST_F(TextColor, HueKeepsItsDistanceFromAColouredBackground) {
    ColorRef hue200 = hlsToRgb(200, 126, 252);
    ASSERT_EQ(rgbToHls(hue200).hue, 200);
    struct Case { ColorRef bg; double contrast; int gap; } cases[] = {
        {rgbColor(128, 0, 0), 15, 19}, {rgbColor(128, 0, 0), 0, 0}, {rgbColor(0, 255, 0), 50, 63},
        {rgbColor(10, 200, 30), 99.9, 126}, {rgbColor(40, 20, 230), 300, 126}, {hue200, -5, 126}};
    for (const Case &c : cases) {
        settings.BackgroundColor = c.bg, settings.MinTextcolorContrast = c.contrast;
        int bgHue = rgbToHls(c.bg).hue, minD = 999, maxD = -1, sides[2] = {};
        for (int i = 0; i < 4000; ++i) {
            int h = randomTextHls().hue, d = hueDistance(h, bgHue);
            ASSERT_TRUE(h <= 252 && d >= c.gap && d <= 126) << std::hex << c.bg << std::dec << " hue " << h;
            minD = std::min(minD, d), maxD = std::max(maxD, d);
            ++sides[(h - bgHue + 252) % 252 > 126];
        }
        EXPECT_TRUE(minD == c.gap && maxD == 126) << std::hex << c.bg << std::dec << ": " << minD << ".." << maxD;
        if (c.gap < 126) {
            EXPECT_TRUE(sides[0] > 0 && sides[1] > 0) << std::hex << c.bg;
        }
    }
    // 200 + 126 wraps to 74, as does 200 - 126: exactly opposite either way.
    settings.BackgroundColor = hue200, settings.MinTextcolorContrast = 100;
    for (int i = 0; i < 50; ++i) ASSERT_EQ(randomTextHls().hue, 74);
}

TEST_F(TextColor, DrawsHueThenLightnessThenSaturation) {
    // A grey background: one hue draw over the whole circle; contrast is ignored.
    settings.BackgroundColor = rgbColor(128, 128, 128), settings.MinTextcolorContrast = 100;
    std::srand(7);
    int h = randomInRange(0, 252), l = randomInRange(126, 189), s = randomInRange(189, 252);
    std::srand(7);
    EXPECT_EQ(randomTextColor(), hlsToRgb(h, l, s));
    // Dark red, contrast 15: the coin, then a distance 19..126 on its side.
    settings.BackgroundColor = rgbColor(128, 0, 0), settings.MinTextcolorContrast = 15;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::srand(seed);
        int coin = coinFlip(), d = randomInRange(19, 126);
        l = randomInRange(126, 189), s = randomInRange(189, 252);
        std::srand(seed);
        HlsColor x = randomTextHls();
        EXPECT_TRUE(x.hue == (coin == 1 ? d : 252 - d) && x.lightness == l && x.saturation == s) << seed;
    }
}

TEST_F(TextColor, ShadowsDarkenOnDarkAndLightenOnLightBackgrounds) {
    ColorRef red = rgbColor(255, 0, 0);
    settings.BackgroundColor = rgbColor(126, 126, 126);
    EXPECT_EQ(shadowColor(red, 1), rgbColor(128, 0, 0));
    EXPECT_EQ(shadowColor(red, 0.5), rgbColor(170, 0, 0));
    EXPECT_EQ(shadowColor(red, 0.25), rgbColor(204, 0, 0));  // lightness 100.8 taken to 101
    EXPECT_EQ(shadowColor(0, 1), 0u);
    settings.BackgroundColor = rgbColor(128, 128, 128);  // lightness 126 is not dark
    EXPECT_EQ(shadowColor(red, 1), rgbColor(255, 128, 128));
    EXPECT_EQ(shadowColor(red, 0.5), rgbColor(255, 63, 63));  // 157.5 cut to 157
    EXPECT_EQ(shadowColor(0xFFFFFF, 1), 0xFFFFFFu);
    // Farther copies go further from the text, channel by channel.
    for (ColorRef bg : {rgbColor(0, 0, 60), rgbColor(200, 255, 200)})
        for (int i = 0; i < 216; ++i) {
            settings.BackgroundColor = bg;
            ColorRef text = rgbColor(i % 6 * 51, i / 6 % 6 * 51, i / 36 * 51);
            ColorRef prev = viaHls(text);
            for (double f : {0.25, 0.5, 0.75, 1.0}) {
                ColorRef copy = shadowColor(text, f);
                ASSERT_TRUE(isDarkColor(bg) ? channelsAtMost(copy, prev) : channelsAtMost(prev, copy))
                    << std::hex << bg << " " << text << " " << f;
                prev = copy;
            }
        }
}

TEST_F(TextColor, ShadowFractionsOutsideTheRangeAreHeldToIt) {
    for (ColorRef bg : {rgbColor(0, 0, 0), rgbColor(255, 255, 255)})
        for (ColorRef text : {rgbColor(255, 0, 0), rgbColor(30, 90, 200), rgbColor(250, 250, 240)}) {
            settings.BackgroundColor = bg;
            ColorRef same = viaHls(text), farthest = shadowColor(text, 1);
            for (double f : {0.0, -1.0, -5.0, -1e300, std::nan("")})
                EXPECT_EQ(shadowColor(text, f), same) << std::hex << bg << " " << text << " " << f;
            for (double f : {2.0, 1e300, double(INFINITY)})
                EXPECT_EQ(shadowColor(text, f), farthest) << std::hex << bg << " " << text << " " << f;
        }
}

TEST_F(TextColor, FunkyShadowsEachGetANewRandomColour) {
    std::strcpy(settings.ShadowStyle, "3D Funky");
    std::srand(5);
    ColorRef a = randomTextColor(), b = randomTextColor();
    std::srand(5);
    EXPECT_EQ(shadowColor(0, 1), a);
    EXPECT_EQ(shadowColor(0, 0.5), b);
    // The name is compared with its letter case; any other style draws nothing.
    std::strcpy(settings.ShadowStyle, "3d funky");
    std::srand(5);
    int next = std::rand();
    std::srand(5);
    EXPECT_EQ(shadowColor(rgbColor(255, 0, 0), 1), rgbColor(128, 0, 0));
    EXPECT_EQ(std::rand(), next);
}
