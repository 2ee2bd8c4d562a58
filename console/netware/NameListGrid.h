#pragma once

#include <QIcon>
#include <QString>

class QLineEdit;
class QTableWidget;

// The grids of the NetWare dialogs (a picture column and a name column): filled from the NetWare
// helper library's NameList texts, and the directory walked one level at a time. The NameList
// reader and SplitList are in console/core/FormHelpers.h.
namespace console {

// The pictures of a grid's first column.
struct GridPictures {
    QIcon object;
    QIcon container;
};

// True while a helper changes a grid: the grids' own handlers leave it alone meanwhile.
bool GridBusy();
// Whether the last FillGrid put real rows into a grid (not the "<Empty>" mark).
bool GridFilled();

// Empties every cell's text and picture.
void ClearGrid(QTableWidget* grid);
// Selects the whole row and makes it current (not while a helper changes the grid).
void HighlightGridRow(QTableWidget* grid, int row);
// One row per record of a directory browse list (name then kind: "C" a container, any other an
// object), or the one row "<Empty>" for an empty list.
void FillGrid(QTableWidget* grid, const QString& list, const GridPictures& pictures);
// One object row per name of a plain NameList, or the one row `emptyMark` for an empty list.
void FillNameGrid(QTableWidget* grid, const QString& list, const GridPictures& pictures,
                  const QString& emptyMark);
// A single mark row ("<Empty>", an error) without picture.
void ShowGridMark(QTableWidget* grid, const QString& mark);

// What a row holds: a container, an object, or nothing to choose (a mark or no row).
bool IsContainerRow(const QTableWidget* grid, int row);
bool IsObjectRow(const QTableWidget* grid, int row);
QString GridRowName(const QTableWidget* grid, int row);

// The grid shows the objects of `className` and the containers in the context; a failing browse
// shows the library's message and the row "<Error in obtaining objects>". The library's result.
int BrowseNds(QTableWidget* grid, const QString& tree, const QString& context, const QString& className,
              const GridPictures& pictures);
// Up one level: the context loses its first name and dot ("[Root]" when it has no dot), then the
// grid browses it.
void FillNdsTree(QTableWidget* grid, const QString& tree, QLineEdit* context, const QString& className,
                 const GridPictures& pictures);
// Into the current row's container: the context becomes its name, a dot and the context (the name
// alone at "[Root]"), then the grid browses it. An object row or a mark does nothing.
void ExpandNdsNode(QTableWidget* grid, const QString& tree, QLineEdit* context, const QString& className,
                   const GridPictures& pictures);

// The directory's root context.
inline constexpr const char* kRootContext = "[Root]";
// The context one level up, and the context of a name inside a context.
QString ParentContext(const QString& context);
QString ChildContext(const QString& name, const QString& context);

}  // namespace console
