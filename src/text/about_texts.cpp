#include "text/about_texts.h"

namespace kalvo {

namespace {

// The splash screen's labels are product data and the version; it has no caption of its own.
constexpr Caption kSplash[] = {
    {"", {"Kalvo_Multi", "Kalvo_Multi"}},
};

constexpr Caption kAbout[] = {
    {"", {"Info Kalvo", "Info Kalvo"}},
    {"cmdOK", {"OK", "OK"}},
    {"cmdSysInfo", {"&System-Info...", "&System-Info..."}},
};

}  // namespace

std::span<const Caption> splashCaptions() {
    return kSplash;
}
std::span<const Caption> aboutCaptions() {
    return kAbout;
}

}  // namespace kalvo
