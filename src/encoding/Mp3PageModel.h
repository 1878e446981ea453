#pragma once

class CAppSettings;
struct SMp3Preset;

// The state of the MP3 settings page. The page keeps list positions, not values:
// loading looks stored values up in the option tables, committing turns positions
// back into values. The CBR position and the two VBR positions are kept apart, so
// switching VBR on and off keeps each mode's choice.
class CMp3PageModel {
public:
    void LoadFromSettings(const CAppSettings& settings);
    // Stores the page's options into `settings`. The caller then applies the settings
    // to the tracks.
    void CommitMp3Tab(CAppSettings& settings) const;

    void SetMpegVersion(unsigned nVersion);
    void SetVbr(bool bVbr);
    void SetCbrPosition(int nPosition);
    // Choosing a bound in its list: the two are swapped when the minimum would exceed
    // the maximum.
    void SetVbrMinPosition(int nPosition);
    void SetVbrMaxPosition(int nPosition);
    // The two thumbs of the VBR slider, in either order.
    void SetVbrThumbs(double dFirst, double dSecond);
    // Swaps the VBR positions when the minimum's rate exceeds the maximum's. Rates, not
    // positions, are compared: the fallback position 14 stands for a rate inside the row.
    void OrderVbrBounds();
    // The single thumb of the CBR slider.
    void SetCbrThumb(double dValue);
    void SetSampleRatePosition(int nPosition);
    void SetChannelMode(unsigned nMode);
    void SetVbrQuality(unsigned nQuality);
    // Sets version, sample rate, channel mode and either the CBR or the VBR choices,
    // whichever mode is on; VBR itself is not switched.
    void ApplyPreset(const SMp3Preset& preset);

    // A slider thumb value as a list position.
    static int ThumbPosition(double dValue);
    // Where the slider and the lists show `nPosition`: the fallback position 14 shows as
    // the place of the row's fallback value among the 14 choices.
    int ShownPosition(int nPosition) const;

    unsigned m_nMpegVersion = 0;
    // A stored rate of the other version's row takes its position there, as switching
    // the version moves the buttons; -1 for a rate of neither row, which committing keeps.
    int m_nSampleRatePosition = 1;
    unsigned m_nStoredSampleRate = 44100;
    unsigned m_nChannelMode = 2;
    int m_nCbrPosition = 9;
    int m_nVbrMinPosition = 8;
    int m_nVbrMaxPosition = 9;
    unsigned m_nVbrQuality = 5;
    bool m_bVbr = false;
    bool m_bPrivate = false;
    bool m_bCrc = false;
    bool m_bCopyright = false;
    bool m_bOriginal = false;
};
