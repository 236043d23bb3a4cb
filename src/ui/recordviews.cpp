#include "ui/recordviews.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <charconv>

#include "document/leveldocument.h"
#include "document/texts.h"
#include "edit/edit_common.h"
#include "level/bytes.h"
#include "records/zr3character.h"
#include "records/zr3palette.h"
#include "render/image_path.h"
#include "script/zr3script.h"
#include "ui/busycursor.h"
#include "ui/fielddelegate.h"
#include "ui/fieldmodel.h"
#include "ui/mappane.h"
#include "ui/paletteview.h"
#include "ui/pictureview.h"
#include "ui/prompt.h"
#include "ui/scripteditor.h"

namespace zr3::ui {

RecordViews::RecordViews(LevelDocument& document, Prompt& prompt, QWidget* parent)
    : QTabWidget(parent), document_(document), prompt_(prompt) {
  setObjectName(QStringLiteral("recordTabs"));

  details_ = new QPlainTextEdit;
  details_->setObjectName(QStringLiteral("details"));
  details_->setAccessibleName(tr("Details"));
  details_->setReadOnly(true);
  details_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  details_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  details_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  fieldModel_ = new FieldTreeModel(
      [this](const FieldOwner& owner, const std::string& path, const std::string& value) {
        return CommitField(owner, path, value);
      },
      this);
  connect(fieldModel_, &FieldTreeModel::refused, this, &RecordViews::refused);
  fieldTree_ = new QTreeView;
  fieldTree_->setObjectName(QStringLiteral("fieldTree"));
  fieldTree_->setAccessibleName(tr("Fields"));
  fieldTree_->setModel(fieldModel_);
  fieldTree_->setItemDelegate(new FieldDelegate(fieldTree_));
  fieldTree_->setUniformRowHeights(true);
  fieldTree_->setAlternatingRowColors(true);
  fieldTree_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
  fieldTree_->setSelectionBehavior(QAbstractItemView::SelectRows);
  fieldTree_->installEventFilter(this);
  fieldTree_->header()->setSectionResizeMode(QHeaderView::Interactive);
  fieldTree_->header()->resizeSection(FieldTreeModel::NameColumn, 160);
  fieldTree_->header()->resizeSection(FieldTreeModel::ValueColumn, 200);
  editAsText_ = new QPushButton(tr("Edit as text..."));
  editAsText_->setObjectName(QStringLiteral("editAsTextButton"));
  editAsText_->setToolTip(tr("Edit the script's conditions and commands as script text"));
  editAsText_->hide();
  // A script's conditions and commands have no fields of their own: the tab shows its text.
  scriptText_ = new ScriptEditor;
  scriptText_->setObjectName(QStringLiteral("scriptText"));
  scriptText_->setAccessibleName(tr("Script text"));
  scriptText_->setReadOnly(true);
  scriptText_->setLineWrapMode(QPlainTextEdit::NoWrap);
  scriptText_->setFont(details_->font());
  scriptText_->hide();
  auto* fieldsPage = new QWidget;
  fieldsPage->setObjectName(QStringLiteral("fieldsPage"));
  auto* fieldButtons = new QHBoxLayout;
  fieldButtons->addWidget(editAsText_);
  fieldButtons->addStretch();
  auto* fieldsLayout = new QVBoxLayout(fieldsPage);
  fieldsLayout->setContentsMargins(0, 0, 0, 0);
  fieldsLayout->addLayout(fieldButtons);
  fieldsLayout->addWidget(fieldTree_);
  fieldsLayout->addWidget(scriptText_);

  map_ = new MapPane(images_);
  palette_ = new PaletteView;
  palette_->setObjectName(QStringLiteral("paletteView"));
  picture_ = new PictureView;
  picture_->setObjectName(QStringLiteral("pictureView"));
  addTab(details_, tr("Details"));
  addTab(fieldsPage, tr("Fields"));
  addTab(map_, tr("Map"));
  addTab(palette_, tr("Palette"));
  addTab(picture_, tr("Picture"));
  // Shown only for the records they draw.
  for (QWidget* drawing : {static_cast<QWidget*>(map_), static_cast<QWidget*>(palette_),
                           static_cast<QWidget*>(picture_)}) {
    setTabVisible(indexOf(drawing), false);
  }
  connect(this, &QTabWidget::currentChanged, this, &RecordViews::DescribeShown);
  connect(this, &QTabWidget::tabBarClicked, this,
          [this](int index) { chosenTab_ = widget(index); });

  MapView* mapView = map_->View();
  mapView->SetStrokeSink([this](MapPaint&& paint, const QString& verb) {
    document_.AddPaintStroke(std::move(paint), verb);
  });
  connect(mapView, &MapView::ObjectMoved, this, [this](std::size_t object, MapCell cell) {
    const QString refusal = document_.MoveObject(object, cell.column, cell.row);
    if (!refusal.isEmpty()) emit refused(refusal);
  });
  connect(mapView, &MapView::MissingImagesChanged, this, &RecordViews::missingImagesChanged);
  connect(map_, &MapPane::Hint, this, &RecordViews::hint);
  connect(palette_, &PaletteView::Hovered, this, [this](int colour) {
    if (colour >= 0) emit hint(palette_->ColourText(colour));
  });
  connect(palette_, &PaletteView::SwatchActivated, this, &RecordViews::ChangePaletteColour);

  connect(&document_, &LevelDocument::levelReplaced, this, &RecordViews::Clear);
  connect(&document_, &LevelDocument::fieldsChanged, this, [this](const FieldOwner& owner) {
    // An object moved or named another map: the map it stood on or stands on shows it.
    if (owner.category == Category::Objects && owner_.category == Category::Maps) map_->Refresh();
    if (Shows(owner)) Refresh();
  });
  connect(&document_, &LevelDocument::recordRenamed, this,
          [this](Category category, std::size_t index) {
            if (Shows({category, index})) Refresh();
          });
  connect(&document_, &LevelDocument::mapCellsChanged, this, [this](std::size_t map) {
    if (!Shows({Category::Maps, map})) return;
    map_->Refresh();
    detailsStale_ = true;
    DescribeShown();
  });
  connect(&document_, &LevelDocument::paletteColoursChanged, this, [this](std::size_t palette) {
    if (Shows({Category::Palettes, palette})) ShowPalette();
  });
  // Positions in other lists may have moved: the references name other rows. A change in the
  // shown record's own list is followed by the record list, which shows what it selects.
  auto listChanged = [this](Category category) {
    if (showing_ && owner_.category != category) fieldModel_->Refresh();
  };
  connect(&document_, &LevelDocument::recordsInserted, this, listChanged);
  connect(&document_, &LevelDocument::recordsRemoved, this, listChanged);
  connect(&document_, &LevelDocument::recordMoved, this, listChanged);
}

RecordViews::~RecordViews() {
  fieldModel_->Show(nullptr, {});
}

bool RecordViews::Shows(const FieldOwner& owner) const {
  if (!showing_) return false;
  if (owner == owner_) return true;
  // General shows the level information and the custom texts' names.
  return !owner_.category && (!owner.category || owner.category == Category::CustomText);
}

void RecordViews::Show(const FieldOwner& owner) {
  const ZR3Level* level = document_.Level();
  if (level == nullptr) return;
  BusyCursor busy;
  owner_ = owner;
  showing_ = true;
  fieldModel_->Show(level, owner);
  fieldTree_->expandAll();
  const bool script = owner.category && IsScriptCategory(*owner.category);
  editAsText_->setVisible(script);
  fieldTree_->setVisible(!script);
  scriptText_->setVisible(script);
  if (script) scriptText_->setPlainText(ScriptTextOf(owner));
  ShowDrawings();
  // Written at once whichever tab is in front, so that a record chosen shows its own text.
  WriteDetails();
}

void RecordViews::Clear() {
  owner_ = {};
  showing_ = false;
  detailsStale_ = false;
  fieldModel_->Show(nullptr, {});
  editAsText_->hide();
  scriptText_->hide();
  fieldTree_->show();
  details_->clear();
  ShowDrawings();
}

void RecordViews::ShowLines(const Lines& lines) {
  detailsStale_ = false;
  details_->setPlainText(LinesToDisplay(lines));
}

void RecordViews::Refresh() {
  fieldModel_->Refresh();
  if (owner_.category && IsScriptCategory(*owner_.category)) {
    scriptText_->setPlainText(ScriptTextOf(owner_));
  }
  ShowDrawings();
  detailsStale_ = true;
  DescribeShown();
}

void RecordViews::DescribeShown() {
  if (detailsStale_ && showing_ && currentWidget() == details_) WriteDetails();
}

void RecordViews::WriteDetails() {
  const ZR3Level& level = *document_.Level();
  Lines lines;
  if (!owner_.category) {
    level.DescribeInfo(lines);
  } else {
    RecordOf(level, *owner_.category, static_cast<long long>(owner_.index)).Describe(lines);
  }
  ShowLines(lines);
}

QString RecordViews::ScriptTextOf(const FieldOwner& owner) const {
  ByteWriter text;
  WriteScriptText(static_cast<const ZR3Script&>(RecordOf(*document_.Level(), *owner.category,
                                                         static_cast<long long>(owner.index))),
                  text);
  return ToDisplay(text.Data()).remove(QLatin1Char('\r'));
}

void RecordViews::ShowDrawings() {
  ZR3Level* level = document_.Level();
  const ZR3Base* record =
      showing_ && level && owner_.category && owner_.index < level->List(*owner_.category).size()
          ? level->List(*owner_.category)[owner_.index].get()
          : nullptr;
  const bool map = record && owner_.category == Category::Maps;
  map_->ShowMap(map ? level : nullptr,
                map ? std::optional<std::size_t>(owner_.index) : std::nullopt);
  setTabVisible(indexOf(map_), map);

  const bool palette = dynamic_cast<const ZR3Palette*>(record) != nullptr;
  if (palette) ShowPalette();
  setTabVisible(indexOf(palette_), palette);

  const std::string path = record ? render::ImagePathOf(*record) : std::string();
  const auto* characters = dynamic_cast<const ZR3Character*>(record);
  const QImage sheet = characters ? CharacterSheet(*characters) : QImage();
  const QImage* image = characters     ? (sheet.isNull() ? nullptr : &sheet)
                        : path.empty() ? nullptr
                                       : images_.Original(path);
  if (image) {
    picture_->SetImage(*image);
  } else {
    picture_->Clear();
  }
  setTabVisible(indexOf(picture_), image != nullptr);
  emit missingImagesChanged(images_.MissingCount());
  if (chosenTab_ && isTabVisible(indexOf(chosenTab_))) setCurrentWidget(chosenTab_);
}

QImage RecordViews::CharacterSheet(const ZR3Character& characters) {
  // Up, down, left and right, one row each, with the two pictures of each side by side.
  constexpr int kColumns = 2;
  constexpr int kRows = static_cast<int>(ZR3Character::kImageCount) / kColumns;
  std::array<const QImage*, ZR3Character::kImageCount> pictures{};
  QSize cell(0, 0);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (characters.ImagePath(i).empty()) continue;
    pictures[i] = images_.Original(characters.ImagePath(i));
    if (pictures[i]) cell = cell.expandedTo(pictures[i]->size());
  }
  if (cell.isEmpty()) return {};
  QImage sheet(cell.width() * kColumns, cell.height() * kRows, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(Qt::transparent);
  QPainter painter(&sheet);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const QPoint at(static_cast<int>(i % kColumns) * cell.width(),
                    static_cast<int>(i / kColumns) * cell.height());
    if (pictures[i]) {
      painter.drawImage(at, *pictures[i]);
    } else {
      // A picture that is missing keeps its place, crossed out.
      painter.setPen(Qt::red);
      painter.drawLine(at, at + QPoint(cell.width() - 1, cell.height() - 1));
      painter.drawLine(at + QPoint(cell.width() - 1, 0), at + QPoint(0, cell.height() - 1));
    }
  }
  return sheet;
}

void RecordViews::ShowPalette() {
  const auto& palette = document_.Level()->At<ZR3Palette>(Category::Palettes, owner_.index);
  palette_->SetColours(palette.Colours());
  // The status bar names the hovered swatch's colour as it is now.
  if (const int hovered = palette_->HoveredSwatch(); hovered >= 0) {
    emit hint(palette_->ColourText(hovered));
  }
}

void RecordViews::ReloadPictures() {
  if (showing_) ShowDrawings();
}

void RecordViews::ChangePaletteColour(int colour) {
  if (!showing_ || owner_.category != Category::Palettes || colour < 0) return;
  const QColor before = palette_->ColourAt(colour);
  const std::optional<QColor> chosen = prompt_.ChooseColour(palette_->ColourText(colour), before);
  if (!chosen || !chosen->isValid() || chosen->rgb() == before.rgb()) return;
  const QString refusal = document_.SetPaletteColour(
      owner_.index, static_cast<std::size_t>(colour),
      {static_cast<std::uint8_t>(chosen->red()), static_cast<std::uint8_t>(chosen->green()),
       static_cast<std::uint8_t>(chosen->blue())});
  if (!refusal.isEmpty()) ShowError(prompt_, refusal);
}

bool RecordViews::eventFilter(QObject* watched, QEvent* event) {
  // Keys an open editor left unhandled come up to the tree too: only the tree's own count.
  if (watched != fieldTree_ || event->type() != QEvent::KeyPress || !fieldTree_->hasFocus()) {
    return QTabWidget::eventFilter(watched, event);
  }
  const QModelIndex current = fieldTree_->currentIndex();
  if (!current.isValid()) return false;
  const QModelIndex value = current.siblingAtColumn(FieldTreeModel::ValueColumn);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  const bool typing = !key->text().isEmpty() && key->text().at(0).isPrint() &&
                      !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (!enter && !typing && key->key() != Qt::Key_F2) return false;
  // The view opens the editor of its current cell for F2 and typing, and switches a check
  // box for Space: make it the value.
  if (current.column() != FieldTreeModel::ValueColumn) fieldTree_->setCurrentIndex(value);
  const FieldTreeModel::Node* node = fieldModel_->NodeAt(value);
  if (node != nullptr && FieldTreeModel::Switches(node->info) && !typing) {
    // Enter and F2 switch an on/off field as Space does.
    const bool on = value.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    fieldModel_->setData(value, static_cast<int>(on ? Qt::Unchecked : Qt::Checked),
                         Qt::CheckStateRole);
    return true;
  }
  if (!enter) return false;
  fieldTree_->edit(value);
  return true;
}

bool RecordViews::ShrinkAsked(std::size_t map, const std::string& size) {
  int side = 0;
  const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), side);
  // A size the field refuses is refused by the edit itself.
  if (error != std::errc() || end != size.data() + size.size() || side < 0) return true;
  const std::size_t dropped = PaintedCellsOutside(*document_.Level(), map, side);
  if (dropped == 0) return true;
  const QString cells = dropped == 1 ? tr("1 painted cell") : tr("%1 painted cells").arg(dropped);
  return prompt_.Ask(QMessageBox::Question, tr("Map Size"),
                     tr("A size of %1 drops %2 outside it. Shrink the map?").arg(side).arg(cells),
                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool RecordViews::CommitField(const FieldOwner& owner, const std::string& path,
                              const std::string& value) {
  if (!document_.Loaded()) return false;
  if (owner.category == Category::Maps && path == "size" && !ShrinkAsked(owner.index, value)) {
    return false;
  }
  const QString refusal = document_.EditField(owner, path, value);
  if (refusal.isEmpty()) return true;
  emit refused(refusal);
  return false;
}

}  // namespace zr3::ui
