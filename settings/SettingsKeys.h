#pragma once

// The page's names in the host: peer modules, feature flag, stored keys and
// the values it falls back to. Everything that reads or writes them names
// them from here.

// Peer modules.
inline constexpr char kManagerModule[] = "uis_manager";
inline constexpr char kStudioModule[] = "vendrel-studio";
inline constexpr char kHwupModule[] = "dev_hwup";
inline constexpr char kMirelModule[] = "mirel_wr_support";

// Host feature flag: free-text frame-rate and timecode boxes.
inline constexpr char kHyperFpsFlag[] = "uis_dev.hyper_fps";

// The application's store.
inline constexpr char kWorkModeKey[] = "current_workmode";
inline constexpr char kInertialMode[] = "UNI";
inline constexpr char kHybridMode[] = "hybird";

// The "dev_hwup" store.
inline constexpr char kIpKey[] = "settings.hwup.ip";
inline constexpr char kCaptureFpsKey[] = "settings.hwup.capturefps";
inline constexpr char kTimecodeRateKey[] = "settings.hwup.local_timecode_rate";
inline constexpr char kConnectionModeKey[] = "settings.hwup.connectionmode";
inline constexpr char kEnableConnectionModeKey[] = "settings.hwup.enableconnectionmode";

// Values of the "dev_hwup" store, compared exactly. The connecting mode is
// offered only when its enabling key holds kEnabled.
inline constexpr char kEnabled[] = "true";
inline constexpr char kNormalMode[] = "normal";
inline constexpr char kMagneticImmunityMode[] = "magnetic immunity";
// Timecode rates that are words, and the number stored for a rate that does
// not fit the capture frame rate.
inline constexpr char kNoTimecode[] = "none";
inline constexpr char kLocalTimecode[] = "local";
inline constexpr char kUnfitTimecodeRate[] = "0";

// The "mirel_wr_support" store.
inline constexpr char kHybridFpsKey[] = "fps";

// The page's keys, in the order restoring the defaults removes them from
// both stores.
inline constexpr const char *kPageKeys[] = {
        kWorkModeKey,       kTimecodeRateKey, kEnableConnectionModeKey,
        kConnectionModeKey, kCaptureFpsKey,   kIpKey,
};

// Capture frame rates used when the stored one is missing or not offered.
inline constexpr int kDefaultUniFps = 96;
inline constexpr int kDefaultHybridFps = 90;
