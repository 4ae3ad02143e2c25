#include "editor/ui/EditorActionTable.h"

namespace {
using F = EditorActionEntry;

// "Seleсt object" is written with a Cyrillic small letter es (U+0441) as its
// fifth letter and "Selelct Polygon" is spelled so: both are the texts users
// and translations already know.
const char* const kSelectObjectText = "Sele\xD1\x81t object";
} // namespace

const std::vector<EditorActionEntry>& EditorActionTable()
{
    static const std::vector<EditorActionEntry> table = {
        {"acFileOpen", "File", "&Open", "Open document or add layer", "", F::NoFlags},
        {"acFileSave", "File", "&Save", "Save documents", "", F::NoFlags},
        {"acPrint", "File", "Print", "", "", F::NoFlags},
        {"acFileExit", "File", "&Exit", "", "", F::NoFlags},
        {"acFileAddStamps", "File", "Add Stamp", "Add Stamp from file", "", F::NoFlags},
        {"acViewShowLayersBox", "View", "Show Layers Box", "", "", F::AutoCheck},
        {"acViewBestQuality", "View", "Best Quality", "", "", F::AutoCheck},
        {"acViewAlphaChannel", "View", "Alpha Channel", "", "", F::AutoCheck | F::Checked},
        {"acViewAspectRatio", "View", "Aspect Ratio", "", "", F::AutoCheck | F::Checked},
        {"acOperUndo", "Operations", "Undo", "", "Ctrl+Z", F::NoFlags},
        {"acOperCut", "Operations", "Cut", "", "Ctrl+X", F::NoFlags},
        {"acOperCopy", "Operations", "Copy", "", "Ctrl+C", F::NoFlags},
        {"acOperPaste", "Operations", "Paste", "", "Ctrl+V", F::NoFlags},
        {"acOperSelectAll", "Operations", "Select all", "", "Ctrl+A", F::NoFlags},
        {"acOperDel", "Operations", "Delete", "Delete page(s), layer(s), stamp or object(s)", "Del",
         F::NoFlags},
        {"acOperApply", "Operations", "Apply", "", "", F::NoFlags},
        {"acLayerAdd", "Layers", "Add Layer", "Add Layer", "", F::NoFlags},
        {"acLayerIns", "Layers", "Insert Layer", "Insert Layer", "", F::NoFlags},
        {"acLayerMerge", "Layers", "Merge selected Layers", "Merge selected Layers", "Ctrl+M",
         F::NoFlags},
        {"acLayerUp", "Layers", "Up Layer", "Bring Layer to front", "", F::NoFlags},
        {"acLayerDown", "Layers", "Down Layer", "Send Layer to back", "", F::NoFlags},
        {"acLayerRotate", "Layers", "Rotate Layer", "", "", F::NoFlags},
        {"acLayersLoad", "Layers", "Load Layer", "", "", F::NoFlags},
        {"acLayersSaveAsStamp", "Layers", "Save Layer as Stamp", "Save Layer as Stamp", "",
         F::NoFlags},
        {"acSelLayers", "Objects", "Select Layers", "", "", F::Checked},
        {"acSelObjects", "Objects", kSelectObjectText, kSelectObjectText, "", F::AutoCheck},
        {"acSelRectangle", "Objects", "Select Rectangle", "Select Rectangle", "", F::NoFlags},
        {"acSelPolygon", "Objects", "Selelct Polygon", "Selelct Polygon", "", F::NoFlags},
        {"acSelEllipse", "Objects", "Select Ellipse", "Select Ellipse", "", F::NoFlags},
        {"acPutLine", "Objects", "Put Line", "Put Line", "", F::NoFlags},
        {"acPutBox", "Objects", "Put Box", "Put Box", "", F::AutoCheck},
        {"acPutEllipse", "Objects", "Put Ellipse", "Put Ellipse", "", F::NoFlags},
        {"acPutText", "Objects", "Put Text", "Put Text", "", F::AutoCheck},
        {"acPutPolyline", "Objects", "Put Polyline", "Put Polyline", "", F::AutoCheck},
        {"acPutMemo", "Objects", "Put Memo", "Put Memo", "", F::Hidden},
        {"acFontSel", "Font", "Select Font", "", "", F::NoFlags},
        {"acFontStretch", "Font", "Stretch", "", "", F::NoFlags},
        {"acSendFax", "Faxs", "Send Fax", "Send fax", "", F::NoFlags},
        {"acOptions", "", "Options", "", "", F::NoFlags},
        {"acHelp", "Help", "Help", "", "F1", F::NoFlags},
        {"acAbout", "Help", "About", "", "", F::NoFlags},
    };
    return table;
}
