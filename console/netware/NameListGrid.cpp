#include "console/netware/NameListGrid.h"

namespace console {

bool GridBusy() {
    return false;
}

bool GridFilled() {
    return false;
}

void ClearGrid(QTableWidget*) {}
void HighlightGridRow(QTableWidget*, int) {}
void FillGrid(QTableWidget*, const QString&, const GridPictures&) {}
bool IsContainerRow(const QTableWidget*, int) {
    return false;
}
QString GridRowName(const QTableWidget*, int) {
    return {};
}
void FillNdsTree(QTableWidget*, const QString&, QLineEdit*, const QString&, const GridPictures&) {}
void ExpandNdsNode(QTableWidget*, const QString&, QLineEdit*, const QString&, const GridPictures&) {}

}  // namespace console
