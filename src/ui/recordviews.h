#pragma once

#include <QTabWidget>

#include "edit/field_edit.h"
#include "level/text.h"
#include "render/image_cache.h"

class QPlainTextEdit;
class QPushButton;
class QTreeView;

namespace zr3 {
class ZR3Character;
class LevelDocument;
}  // namespace zr3

namespace zr3::ui {

class FieldTreeModel;
class MapPane;
class PaletteView;
class PictureView;
class Prompt;

// The tabs that show one record (or "General": the level information): its description
// (Details), its fields, and the map, palette or picture it holds. They follow the document's
// signals for the record they show; a change to its fields made here goes to the document.
class RecordViews : public QTabWidget {
  Q_OBJECT

 public:
  RecordViews(LevelDocument& document, Prompt& prompt, QWidget* parent = nullptr);
  ~RecordViews() override;

  // Shows a record, or General when owner has no category.
  void Show(const FieldOwner& owner);
  // Shows nothing (no level, or no record chosen).
  void Clear();
  // Whether a record or General is shown, and which.
  bool Showing() const { return showing_; }
  const FieldOwner& Owner() const { return owner_; }
  // Writes lines (a report, a search) in the Details tab, the shown record staying.
  void ShowLines(const Lines& lines);
  // The pictures are looked up in other folders: draws them again.
  void ReloadPictures();

  QPlainTextEdit* Details() const { return details_; }
  FieldTreeModel* Fields() const { return fieldModel_; }
  QTreeView* FieldTree() const { return fieldTree_; }
  QPlainTextEdit* ScriptText() const { return scriptText_; }
  QPushButton* EditAsTextButton() const { return editAsText_; }
  MapPane* MapTab() const { return map_; }
  PaletteView* PaletteTab() const { return palette_; }
  PictureView* PictureTab() const { return picture_; }
  render::ImageCache& Images() { return images_; }
  // A character set's eight pictures in one image, two to a row: none when none is found.
  QImage CharacterSheet(const ZR3Character& characters);

  // A script's text as an editor shows it, lines ended by line feeds.
  QString ScriptTextOf(const FieldOwner& owner) const;

 signals:
  // A line for the status bar.
  void hint(const QString& text);
  // A field edit or a colour was refused, with the reason.
  void refused(const QString& reason);
  void missingImagesChanged(int count);

 private:
  // Whether a change to owner's fields shows here.
  bool Shows(const FieldOwner& owner) const;
  // Reads what the shown record holds again, after a change to it.
  void Refresh();
  // Shows the tabs that draw the record (a map, a palette, a picture), or hides them.
  void ShowDrawings();
  void ShowPalette();
  // Writes the shown record's description, when a change left it behind.
  void DescribeShown();
  void WriteDetails();
  void ChangePaletteColour(int colour);
  // F2, Enter and typing edit the value of the current field, whichever column is current.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Asks before a smaller map size drops painted cells; true when the edit may go on.
  bool ShrinkAsked(std::size_t map, const std::string& size);
  bool CommitField(const FieldOwner& owner, const std::string& path, const std::string& value);

  LevelDocument& document_;
  Prompt& prompt_;
  FieldOwner owner_;
  bool showing_ = false;
  // Whether the Details tab no longer describes the shown record; a map's description runs to
  // thousands of lines, so it is written when the tab comes to the front.
  bool detailsStale_ = false;
  // The tab the user last brought to the front; it comes back when a record shows it again.
  QWidget* chosenTab_ = nullptr;

  render::ImageCache images_;
  QPlainTextEdit* details_ = nullptr;
  FieldTreeModel* fieldModel_ = nullptr;
  QTreeView* fieldTree_ = nullptr;
  QPushButton* editAsText_ = nullptr;
  QPlainTextEdit* scriptText_ = nullptr;
  MapPane* map_ = nullptr;
  PaletteView* palette_ = nullptr;
  PictureView* picture_ = nullptr;
};

}  // namespace zr3::ui
