// The fonts the game shows Qt: the very faces the system's configuration picks for the game's
// typefaces, bold ones included, and nothing of families the game never asks for.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <array>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "ui/platform/typefaces.h"

namespace quarbel::testing {
namespace {

const std::array<const char*, 5> Requests = {"Arial", "Arial:bold", "System:pixelsize=13",
                                             "monospace", "Sans Serif:bold"};

std::string text(const FcChar8* value) {
    return value ? reinterpret_cast<const char*>(value) : "";
}

// The file and family the current configuration draws a request with.
std::pair<std::string, std::string> faceFor(const char* request) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(request));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* file = nullptr;
    FcChar8* family = nullptr;
    if (match) {
        FcPatternGetString(match, FC_FILE, 0, &file);
        FcPatternGetString(match, FC_FAMILY, 0, &family);
    }
    std::pair<std::string, std::string> face{text(file), text(family)};
    if (match) FcPatternDestroy(match);
    return face;
}

std::set<std::string> listedFamilies() {
    FcPattern* all = FcPatternCreate();
    FcObjectSet* family = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, all, family);
    std::set<std::string> families;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &name) == FcResultMatch)
            families.insert(text(name));
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(family);
    FcPatternDestroy(all);
    return families;
}

TEST(GameFonts, AreTheSystemsChoicesAndNoMore) {
    // No language of the user's that would add fonts of its own.
    ::setenv("LC_ALL", "C", 1);
    std::map<std::string, std::pair<std::string, std::string>> systemChoices;
    for (const char* request : Requests)
        systemChoices[request] = faceFor(request);
    ASSERT_FALSE(systemChoices["Arial:bold"].first.empty()) << "no fonts on this machine";
    std::set<std::string> chosenFamilies = {faceFor(PanelTypeface).second,
                                            faceFor(FixedTypeface).second};
    for (const char* typeface : DialogTypefaces)
        chosenFamilies.insert(faceFor(typeface).second);

    showOnlyTheGamesFonts({});

    for (const char* request : Requests)
        EXPECT_EQ(faceFor(request), systemChoices[request]) << request;
    std::set<std::string> others;
    for (const std::string& family : listedFamilies()) {
        if (!chosenFamilies.contains(family)) others.insert(family);
    }
    EXPECT_TRUE(others.empty()) << others.size() << " more, " << *others.begin();
    // Gives the configuration back, as Qt's font database does when a program ends.
    FcFini();
}

}  // namespace
}  // namespace quarbel::testing
