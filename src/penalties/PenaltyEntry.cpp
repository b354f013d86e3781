#include "penalties/PenaltyEntry.h"

#include "platform/VirtualKeys.h"

namespace penalties {

namespace {

constexpr int kStartKey = 'P';
constexpr int kLateKey = 'L';
constexpr std::size_t kMaxDigits = 2;

// The digit a main-keyboard or numeric-pad key types, or -1.
int digitOfKey(int keyCode) {
    if (keyCode >= vk::Key0 && keyCode <= vk::Key9)
        return keyCode - vk::Key0;
    if (keyCode >= vk::Numpad0 && keyCode <= vk::Numpad9)
        return keyCode - vk::Numpad0;
    return -1;
}

} // namespace

std::optional<PenaltyKind> kindOfKey(int keyCode) {
    switch (keyCode) {
    case 'M':
        return PenaltyKind::Minor;
    case 'D':
        return PenaltyKind::DoubleMinor;
    case 'J':
        return PenaltyKind::Major;
    case 'B':
        return PenaltyKind::MajorPlusMinor;
    case 'T':
        return PenaltyKind::MinorPlusMisconduct;
    case 'C':
        return PenaltyKind::Misconduct;
    case 'G':
        return PenaltyKind::GameMisconduct;
    case 'X':
        return PenaltyKind::Match;
    default:
        return std::nullopt;
    }
}

const char* kindName(PenaltyKind kind) {
    switch (kind) {
    case PenaltyKind::Minor:
        return "minor";
    case PenaltyKind::DoubleMinor:
        return "double minor";
    case PenaltyKind::Major:
        return "major";
    case PenaltyKind::MajorPlusMinor:
        return "major + minor";
    case PenaltyKind::MinorPlusMisconduct:
        return "minor + misconduct";
    case PenaltyKind::Misconduct:
        return "misconduct";
    case PenaltyKind::GameMisconduct:
        return "game misconduct";
    case PenaltyKind::Match:
        return "match";
    }
    return "";
}

PenaltyEntry::Outcome PenaltyEntry::key(int keyCode, bool ctrl) {
    if (ctrl) {
        if (keyCode != kStartKey)
            return Outcome::Passed;
        clear();
        open_ = true;
        return Outcome::Taken;
    }
    if (!open_)
        return Outcome::Passed;
    if (keyCode == vk::Escape) {
        clear();
        return Outcome::Dropped;
    }
    if (choosingReturn_)
        return chooseReturn(keyCode);
    const bool signal = keyCode == vk::OemPlus || keyCode == vk::Add;
    const bool late = keyCode == kLateKey && kind_;
    if (keyCode == vk::Return || signal || late) {
        if (!team_ && keyCode == vk::Return) {
            clear();
            return Outcome::Whistle;
        }
        if (!team_ || digits_.empty() || !kind_)
            return Outcome::Taken;
        given_ = Assessment{*team_, std::stoi(digits_), *kind_,
                            substitute_.empty() ? -1 : std::stoi(substitute_)};
        clear();
        return signal ? Outcome::Signalled : late ? Outcome::Late : Outcome::Given;
    }
    if (!team_ && keyCode == 'R') {
        choosingReturn_ = true;
        return Outcome::Taken;
    }
    if (!team_ && (keyCode == 'Z' || keyCode == 'Y' || keyCode == 'P')) {
        clear();
        return keyCode == 'Z'   ? Outcome::Undo
               : keyCode == 'Y' ? Outcome::Redo
                                : Outcome::PenaltyShot;
    }
    return typeKey(keyCode) ? Outcome::Taken : Outcome::Passed;
}

// One key of the sequence; false when it is not one of the entry's keys.
bool PenaltyEntry::typeKey(int keyCode) {
    const int digit = digitOfKey(keyCode);
    const std::optional<PenaltyKind> kind = kindOfKey(keyCode);
    if (keyCode == vk::Back) {
        if (!substitute_.empty())
            substitute_.pop_back();
        else if (kind_)
            kind_.reset();
        else if (!digits_.empty())
            digits_.pop_back();
        else
            team_.reset();
    } else if (keyCode == 'H' || keyCode == 'V') {
        if (!team_)
            team_ = keyCode == 'H' ? Team::Home : Team::Guest;
    } else if (digit >= 0) {
        if (team_ && !kind_ && digits_.size() < kMaxDigits)
            digits_ += static_cast<char>('0' + digit);
        else if (kind_ && substitute_.size() < kMaxDigits)
            substitute_ += static_cast<char>('0' + digit);
    } else if (kind && !digits_.empty() && !kind_) {
        kind_ = kind;
    } else {
        return false;
    }
    return true;
}

// The keys after R: the returning player's number, Enter, Backspace.
PenaltyEntry::Outcome PenaltyEntry::chooseReturn(int keyCode) {
    const int digit = digitOfKey(keyCode);
    if (keyCode == vk::Return) {
        if (digits_.empty())
            return Outcome::Taken;
        returning_ = std::stoi(digits_);
        clear();
        return Outcome::ChooseReturn;
    }
    if (keyCode == vk::Back) {
        if (digits_.empty())
            choosingReturn_ = false;
        else
            digits_.pop_back();
    } else if (digit >= 0) {
        if (digits_.size() < kMaxDigits)
            digits_ += static_cast<char>('0' + digit);
    } else {
        return Outcome::Passed;
    }
    return Outcome::Taken;
}

void PenaltyEntry::clear() {
    open_ = false;
    choosingReturn_ = false;
    substitute_.clear();
    team_.reset();
    digits_.clear();
    kind_.reset();
}

std::string PenaltyEntry::prompt() const {
    if (!open_)
        return {};
    std::string text = "penalty";
    if (!team_)
        return text + (choosingReturn_ ? digits_.empty()
                                             ? ": who returns on the latest goal? (number, Enter)"
                                             : " return " + digits_ + ": Enter"
                                       : ": H or V? (Enter gives the signalled, Z undo, Y redo, "
                                         "P last goal on a penalty shot, R who returns)");
    text += team_ == Team::Home ? " H" : " V";
    if (digits_.empty())
        return text + ": player number?";
    text += " " + digits_;
    if (!kind_)
        return text + ": kind (M D J B T C G X)?";
    text += std::string(" ") + kindName(*kind_);
    if (!substitute_.empty())
        return text + " served by " + substitute_ +
               ": Enter gives, + signals, L gives late, Esc drops";
    return text + ": Enter gives, + signals, L gives late (or who serves it first), Esc drops";
}

} // namespace penalties
