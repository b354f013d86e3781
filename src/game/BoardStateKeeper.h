#pragma once

struct BoardState;

// A part of the game kept beside the board's fields (the penalty assistant's game): it goes
// into the board's state wherever that is read, and comes back wherever a state is put back
// (undo, redo, a restored game), so the journal keeps it with the rest.
class BoardStateKeeper {
  public:
    virtual ~BoardStateKeeper() = default;
    virtual void saveTo(BoardState& state) const = 0;
    virtual void loadFrom(const BoardState& state) = 0;
};
