#pragma once

class BoardControls;
class frmScoreBoard;

// The board's design size: the client area in twips.
inline constexpr double kBoardDesignWidth = 9480;
inline constexpr double kBoardDesignHeight = 6795;

// Creates every control of the board at its designed place, in the window's control order.
void buildBoardDesign(frmScoreBoard& board, BoardControls& controls);
