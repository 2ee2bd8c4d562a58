#pragma once

#include <QIcon>
#include <QString>

class QLineEdit;
class QTableWidget;

// The grids of the NetWare dialogs: filled from the NetWare helper library's NameList texts, and the
// directory walked one level at a time. (The NameList reader and SplitList are in FormHelpers.h.)
namespace console {

// The pictures of a grid's first column.
struct GridPictures {
    QIcon object;
    QIcon container;
};

// -1 while a helper changes a grid: the grids' own handlers leave it alone meanwhile.
bool GridBusy();
// Whether the last FillGrid put real rows into a grid (not the "<Empty>" mark).
bool GridFilled();

// Empties every cell's text and picture.
void ClearGrid(QTableWidget* grid);
// Selects the whole row and makes it current.
void HighlightGridRow(QTableWidget* grid, int row);
// One row per record of a directory browse list ("name,1,O" objects, "name,1,C" containers), or one
// "<Empty>" row for an empty list.
void FillGrid(QTableWidget* grid, const QString& list, const GridPictures& pictures);
// Whether the grid's row is a container (false for objects, marks and missing rows).
bool IsContainerRow(const QTableWidget* grid, int row);
// The name in the grid's row (empty for a missing row).
QString GridRowName(const QTableWidget* grid, int row);

// Up one level: the context loses its first name ("[Root]" when it has only one); then the grid shows
// the objects of `className` and the containers there.
void FillNdsTree(QTableWidget* grid, const QString& tree, QLineEdit* context, const QString& className,
                 const GridPictures& pictures);
// Into the selected container: the context becomes its name before the current context; an object
// row or the "<Empty>" mark does nothing.
void ExpandNdsNode(QTableWidget* grid, const QString& tree, QLineEdit* context, const QString& className,
                   const GridPictures& pictures);

}  // namespace console
