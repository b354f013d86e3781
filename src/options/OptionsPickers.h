#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

// The common dialogs the options dialog opens: a colour picker and a file-open picker.
// Behind an interface so that tests answer them without a window.
class OptionsPickers {
  public:
    virtual ~OptionsPickers() = default;
    // The colour chosen (0x00BBGGRR), starting from `current`; nothing when cancelled.
    // `what` names the colour being chosen, for the picker's accessible name.
    virtual std::optional<std::int32_t> pickColor(QWidget* parent, std::int32_t current,
                                                  const QString& what) = 0;
    // The path of the file chosen, "" when cancelled. `filter` is in the form
    // "description|patterns" (see qtFileFilter); `what` names the file being chosen.
    virtual QString pickFile(QWidget* parent, const QString& filter, const QString& what) = 0;
};

// The toolkit's own colour and file dialogs.
class QtOptionsPickers final : public OptionsPickers {
  public:
    std::optional<std::int32_t> pickColor(QWidget* parent, std::int32_t current,
                                          const QString& what) override;
    QString pickFile(QWidget* parent, const QString& filter, const QString& what) override;
};
