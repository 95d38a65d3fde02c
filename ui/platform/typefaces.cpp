#include "ui/platform/typefaces.h"

#include <fontconfig/fontconfig.h>

#include <QLocale>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quarbel {

namespace {

struct ConfigRelease {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
using Config = std::unique_ptr<FcConfig, ConfigRelease>;

const FcChar8* bytes(const std::string& text) {
    return reinterpret_cast<const FcChar8*>(text.c_str());
}

// The file of the face the configuration picks for a family or for the fonts of a language
// ("de", "zh-cn"), by name as it stands, at a weight and slant.
void addFileOfMatch(FcConfig* config, const char* object, const std::string& value, int weight,
                    int slant, std::set<std::string>& files) {
    FcPattern* request = FcPatternCreate();
    FcPatternAddString(request, object, bytes(value));
    FcPatternAddInteger(request, FC_WEIGHT, weight);
    FcPatternAddInteger(request, FC_SLANT, slant);
    FcConfigSubstitute(config, request, FcMatchPattern);
    FcDefaultSubstitute(request);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, request, &result)) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            files.insert(reinterpret_cast<const char*>(file));
        FcPatternDestroy(match);
    }
    FcPatternDestroy(request);
}

// Regular, bold, italic and bold italic: the styles the game's texts and the help's markup
// ask for, each from the face the system picks for it rather than drawn over another.
void addFilesOfFamily(FcConfig* config, const std::string& family, std::set<std::string>& files) {
    for (int weight : {FC_WEIGHT_REGULAR, FC_WEIGHT_BOLD}) {
        for (int slant : {FC_SLANT_ROMAN, FC_SLANT_ITALIC})
            addFileOfMatch(config, FC_FAMILY, family, weight, slant, files);
    }
}

}  // namespace

void showOnlyTheGamesFonts(const QStringList& moreTypefaces) {
    std::set<std::string> files;
    std::string configFile;
    {
        const Config system(FcInitLoadConfigAndFonts());
        if (!system) return;
        std::vector<std::string> families = {PanelTypeface, FixedTypeface};
        families.insert(families.end(), DialogTypefaces.begin(), DialogTypefaces.end());
        for (const QString& typeface : moreTypefaces)
            families.push_back(typeface.toStdString());
        for (const std::string& family : families)
            addFilesOfFamily(system.get(), family, files);
        const QString language = QLocale::system().name().toLower().replace('_', '-');
        if (language != "c")
            addFileOfMatch(system.get(), FC_LANG, language.toStdString(), FC_WEIGHT_REGULAR,
                           FC_SLANT_ROMAN, files);

        FcChar8* file = FcConfigFilename(nullptr);
        if (!file) return;
        configFile = reinterpret_cast<const char*>(file);
        FcStrFree(file);
    }
    if (files.empty()) return;

    // The system's configuration with every rule (aliases such as Arial's metric twin, hinting,
    // preferred families) but none of its font folders; the chosen faces come in one by one.
    const std::string xml = "<?xml version=\"1.0\"?>\n<fontconfig><include>" +
                            QString::fromStdString(configFile).toHtmlEscaped().toStdString() +
                            "</include><reset-dirs/></fontconfig>";
    const Config own(FcConfigCreate());
    if (!own || !FcConfigParseAndLoadFromMemory(own.get(), bytes(xml), FcTrue)) return;
    for (const std::string& file : files)
        FcConfigAppFontAddFile(own.get(), bytes(file));
    FcConfigSetCurrent(own.get());
}

}  // namespace quarbel
