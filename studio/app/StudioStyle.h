#pragma once

// The look of the studio the plug-ins are made for: Fusion with light text
// on dark grounds. The Device page paints its popup lists black and its
// notices yellow, which only reads on a dark palette.
class StudioStyle
{
public:
    // Sets the style and palette of the whole application.
    static void apply();
};
