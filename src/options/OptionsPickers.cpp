#include "options/OptionsPickers.h"

#include "display/Colors.h"
#include "options/FileFilter.h"

#include <QColorDialog>
#include <QFileDialog>

std::optional<std::int32_t> QtOptionsPickers::pickColor(QWidget* parent, std::int32_t current,
                                                        const QString& what) {
    QColorDialog picker(colorFromBgr(current), parent);
    picker.setAccessibleName(what);
    if (picker.exec() != QDialog::Accepted)
        return std::nullopt;
    return bgrFromColor(picker.selectedColor());
}

QString QtOptionsPickers::pickFile(QWidget* parent, const QString& filter, const QString& what) {
    QFileDialog picker(parent);
    picker.setAccessibleName(what);
    picker.setFileMode(QFileDialog::ExistingFile);
    picker.setAcceptMode(QFileDialog::AcceptOpen);
    picker.setNameFilter(qtFileFilter(filter));
    if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(picker.selectedFiles().constFirst());
}
