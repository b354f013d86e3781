#pragma once

// A point size meant for a window of the design size, scaled for a window of the given size by
// the narrower of the two ratios W / designW and H / designH; the width ratio wins a tie. Both
// sizes are of the same kind (the board passes client areas). The comparison of the two ratios
// is made in single precision, the result in double. A window or design without a positive,
// finite size gives the point size unchanged.
double RSize(int points, double windowWidthTwips, double windowHeightTwips, double designWidthTwips,
             double designHeightTwips);

// Where an image goes inside its container, in twips relative to the container.
struct FittedRect {
    double left, top, width, height;
};

// The picture of pictureWidth x pictureHeight twips fitted undistorted and centred into the
// container, enlarged or shrunk until it touches two opposite sides. A picture of exactly the
// container's proportions fills it. A picture or container without a positive, finite size
// cannot be fitted; the result is then the whole container (an empty one for a container
// without a size), never NaN.
FittedRect FitPicture(double pictureWidth, double pictureHeight, double containerWidth,
                      double containerHeight);
