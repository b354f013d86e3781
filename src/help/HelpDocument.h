#pragma once

#include <QString>

class QTextDocument;

// The help document that ships beside the program, and what stands in its place when it is gone.
inline constexpr char kHelpFileName[] = "pucktallyhelpfile.rtf";
inline constexpr char kHelpMissingMessage[] =
    "Help file has been moved from its normal location.  Please reinstall the program.";

// The help document's path in the program folder `folder`.
QString HelpDocumentPath(const QString& folder);

// Reads the help document at `path` into `document`. False, with `document` untouched, when
// there is no such file or it cannot be read (a folder of that name, no permission); the caller
// then shows the message. A file that is present but empty gives an empty document.
bool LoadHelpDocument(const QString& path, QTextDocument& document);
