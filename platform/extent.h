#pragma once

namespace velunor::platform {

// A width and a height in twips (1/1440 inch, 15 to the pixel at 96 dpi), as
// the forms runtime measures windows and screens.
struct Extent {
    float width;
    float height;
};

}  // namespace velunor::platform
