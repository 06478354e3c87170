#include "app/NewMasterViewController.h"

#include <numbers>

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "app/NewImageChoice.h"
#include "app/SettingsViewController.h"
#include "canvas/PaintingView.h"
#include "layers/TextInputViewController.h"
#include "layers/TextSettingsViewController.h"
#include "pickers/BrushChoiceViewController.h"
#include "pickers/ColorBrushSelectionViewController.h"
#include "pickers/ColorButtonView.h"
#include "pickers/ColorChoiceViewController.h"
#include "pickers/ShapeSelectionViewController.h"
#include "pickers/ToolViewController.h"
#include "pickers/ToolbarColorView.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"

namespace zorbel {

using platform::ActionSender;
using platform::BarButtonItem;
using platform::Rect;

NewMasterViewController::NewMasterViewController() : platform::ViewController(kInterfaceName) {
    registerAction("add:", [this](ActionSender* s) { add(s); });
    registerAction("save:", [this](ActionSender* s) { save(s); });
    registerAction("settings:", [this](ActionSender* s) { settings(s); });
    registerAction("undo:", [this](ActionSender* s) { undo(s); });
    registerAction("present:", [this](ActionSender* s) { present(s); });
    registerAction("brushChoice:", [this](ActionSender* s) { brushChoice(s); });
    registerAction("colorChoice:", [this](ActionSender* s) { colorChoice(s); });
    registerAction("selectToolAction:", [this](ActionSender* s) { selectToolAction(s); });
    registerAction("textInputAction:", [this](ActionSender* s) { textInputAction(s); });
    registerAction("addShape:", [this](ActionSender* s) { addShape(s); });
    registerOutlet("bottomToolbar", bottomToolbar_);
    registerOutlet("topToolbar", topToolbar_);
    registerOutlet("navigationBar", navigationBar_);
}

NewMasterViewController::~NewMasterViewController() {
    if (sheet_)
        sheet_->setDelegate(nullptr);
}

CanvoAppDelegate* NewMasterViewController::delegate() const {
    return CanvoAppDelegate::shared();
}

void NewMasterViewController::viewDidLoad() {
    currentOrientation_ = 1;
    view()->setAutoresizingMask(platform::AutoresizingFlexibleWidth |
                                platform::AutoresizingFlexibleHeight);
    // A plain square until the launch sets the paint colour, which puts the
    // colour well that opens the picker in its place.
    auto square = std::make_shared<ColorButtonView>(Rect(0, 0, 27, 27));
    toolbarColorView_ = square;
    replaceItem(kColorItemIndex, BarButtonItem::withCustomView(square));
}

void NewMasterViewController::viewDidAppear(bool) {
    if (CanvoAppDelegate* d = delegate())
        d->doInteractiveFilter();
}

void NewMasterViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning NewMasterVC");
}

void NewMasterViewController::replaceItem(int index, std::shared_ptr<BarButtonItem> item) {
    (void)view(); // the toolbar comes with the view
    if (!bottomToolbar_) {
        platform::log("NewMasterVC: no bottom toolbar");
        return;
    }
    auto items = bottomToolbar_->items();
    if (index < 0 || std::size_t(index) >= items.size()) {
        std::string line = "NewMasterVC: the bottom toolbar has no item ";
        line += std::to_string(index);
        platform::log(line);
        return;
    }
    items[std::size_t(index)] = std::move(item);
    bottomToolbar_->setItems(std::move(items), true);
}

// --- Chrome ----------------------------------------------------------------------

void NewMasterViewController::hideAllTools() {
    if (!bottomToolbar_ || bottomToolbar_->alpha() == 0.0f)
        return;
    platform::Application::shared().setStatusBarHidden(true, false);
    bottomToolbar_->setAlpha(0);
    if (navigationBar_)
        navigationBar_->setAlpha(0);
}

void NewMasterViewController::showAllTools() {
    if (!bottomToolbar_ || bottomToolbar_->alpha() == 1.0f)
        return;
    platform::Application::shared().setStatusBarHidden(false, true);
    platform::View::beginAnimations();
    platform::View::setAnimationDuration(kShowDuration);
    bottomToolbar_->setAlpha(1);
    if (navigationBar_)
        navigationBar_->setAlpha(1);
    platform::View::commitAnimations();
}

bool NewMasterViewController::areToolsShowing() const {
    return bottomToolbar_ && bottomToolbar_->alpha() == 1.0f;
}

void NewMasterViewController::showAllToolsUnlessPresenting() {
    if (!presentMode_)
        showAllTools();
}

void NewMasterViewController::showAllToolsIfNecessary() {
    showAllToolsUnlessPresenting();
}

// --- Toolbar actions ----------------------------------------------------------------

void NewMasterViewController::present(ActionSender*) {
    if (CanvoAppDelegate* d = delegate())
        d->resetCursorShownCycle();
    presentMode_ = !presentMode_;
    if (presentMode_)
        hideAllTools();
    else
        showAllTools();
}

void NewMasterViewController::undo(ActionSender*) {
    CanvoAppDelegate* d = delegate();
    if (!d)
        return;
    d->resetCursorShownCycle();
    if (!d->tooBusyForUserInteraction())
        d->switchUndoBuffer();
}

void NewMasterViewController::save(ActionSender*) {
    CanvoAppDelegate* d = delegate();
    if (!d)
        return;
    d->resetCursorShownCycle();
    // Only a picture changed since its last save is written again.
    if (d->tooBusyForUserInteraction() || !d->dirtyFlag())
        return;
    d->setDirtyFlag(false);
    d->saveCurrentImageToAlbum();
}

void NewMasterViewController::add(ActionSender*) {
    CanvoAppDelegate* d = delegate();
    if (!d)
        return;
    d->resetCursorShownCycle();
    if (d->tooBusyForUserInteraction())
        return;
    if (d->dirtyFlag())
        showSheet("Save Image?", "Cancel", "No", {"Save"}, kSaveImageSheetTag);
    else
        doAddImage();
}

void NewMasterViewController::doAddImage() {
    auto choice = std::make_shared<NewImageChoice>();
    if (CanvoAppDelegate* d = delegate())
        choice->setCanvoViewController(d->canvoViewController());
    presentModalViewController(std::move(choice), true);
}

void NewMasterViewController::settings(ActionSender*) {
    CanvoAppDelegate* d = delegate();
    if (!d)
        return;
    d->resetCursorShownCycle();
    presentModalViewController(std::make_shared<SettingsViewController>(
                                   d->askOnShake(), d->smartShapesEnabled(), d->fingerOffset()),
                               true);
}

void NewMasterViewController::brushChoice(ActionSender*) {
    CanvoAppDelegate* d = delegate();
    if (!d)
        return;
    d->resetCursorShownCycle();
    std::shared_ptr<platform::ViewController> picker;
    switch (d->selectedTool()) {
    case Tool::PaintBrushTool:
    case Tool::EraserTool:
    case Tool::CloneTool:
        // Opacity and blend mode belong to the paint brush alone.
        picker = std::make_shared<BrushChoiceViewController>(
            d->pickerHost(), d->selectedTool() == Tool::PaintBrushTool);
        break;
    case Tool::ColorBrushTool:
        picker = std::make_shared<ColorBrushSelectionViewController>(d->pickerHost(),
                                                                     d->initColorBrushNames());
        break;
    case Tool::ShapeTool:
        picker =
            std::make_shared<ShapeSelectionViewController>(d->pickerHost(), d->initShapeNames());
        break;
    case Tool::TextTool:
        presentTextSettings();
        return;
    default: // the eyedropper and the effects have no brush to choose
        break;
    }
    if (picker)
        presentModalViewController(std::move(picker), true);
}

void NewMasterViewController::colorChoice(ActionSender*) {
    CanvoAppDelegate* d = delegate();
    if (!d)
        return;
    d->resetCursorShownCycle();
    presentModalViewController(std::make_shared<ColorChoiceViewController>(d->pickerHost(), color_),
                               true);
}

void NewMasterViewController::selectToolAction(ActionSender*) {
    CanvoAppDelegate* d = delegate();
    if (!d || d->tooBusyForUserInteraction())
        return;
    presentModalViewController(std::make_shared<ToolViewController>(d->pickerHost()), true);
}

void NewMasterViewController::textInputAction(ActionSender*) {
    CanvoAppDelegate* d = delegate();
    if (!d || d->tooBusyForUserInteraction())
        return;
    d->resetCursorShownCycle();
    presentModalViewController(
        std::make_shared<TextInputViewController>(TextInputViewController::kDefaultText), true);
}

void NewMasterViewController::presentTextSettings() {
    CanvoAppDelegate* d = delegate();
    if (!d || d->tooBusyForUserInteraction())
        return;
    presentModalViewController(
        std::make_shared<TextSettingsViewController>(d->lastMovedTextLayer()), true);
}

// --- Tool button and colour well ------------------------------------------------------

void NewMasterViewController::setToolImage(platform::ImageRef image) {
    auto item = BarButtonItem::withImage(
        std::move(image), platform::BarButtonItemStyle::Plain, this,
        [this](ActionSender* s) { selectToolAction(s); }, "selectToolAction:");
    replaceItem(kToolItemIndex, std::move(item));
}

void NewMasterViewController::setSelectedColor(const platform::Color& color) {
    if (CanvoAppDelegate* d = delegate())
        d->resetCursorShownCycle();
    color_ = color;
    auto well = std::make_shared<ToolbarColorView>(Rect(0, 0, 26, 26));
    // Without a picture the well still opens the picker, filled with the colour.
    well->setToolbarImage(makeColorSquare(Rect(0, 0, 26, 26), color));
    well->setDisplayColor(color);
    well->setTarget([this](ActionSender* s) { colorChoice(s); });
    toolbarColorView_ = well;
    auto item = BarButtonItem::withCustomView(well);
    item->setTarget(this);
    item->setAction([this](ActionSender* s) { colorChoice(s); }, "colorChoice:");
    replaceItem(kColorItemIndex, std::move(item));
}

platform::ImageRef NewMasterViewController::makeColorSquare(const Rect& rect,
                                                            const platform::Color& color) {
    auto bitmap = platform::Context::createBitmap(int(rect.width()), int(rect.height()), nullptr);
    if (!bitmap)
        return nullptr;
    bitmap->setFillColor(color);
    bitmap->fillRect(Rect(0, 0, rect.width(), rect.height()));
    return bitmap->makeImage();
}

// --- Sheets ----------------------------------------------------------------------------

void NewMasterViewController::showSheet(const std::string& title, const std::string& cancel,
                                        const std::string& destructive,
                                        const std::vector<std::string>& others, int tag) {
    auto sheet = std::make_shared<platform::ActionSheet>(title, this, cancel, destructive, others);
    sheet->setTag(tag);
    sheet_ = sheet;
    if (bottomToolbar_)
        sheet->showFromToolbar(*bottomToolbar_);
    else
        sheet->showInView(*view());
}

void NewMasterViewController::shakeEraseRequest() {
    showSheet("Erase Image?", "Cancel", "Yes", {}, kEraseImageSheetTag);
}

void NewMasterViewController::actionSheetClickedButtonAtIndex(platform::ActionSheet& sheet,
                                                              int index) {
    const int tag = sheet.tag();
    if (sheet_.get() == &sheet)
        sheet_.reset();
    CanvoAppDelegate* d = delegate();
    if (tag == kSaveImageSheetTag) {
        if (index == 0) {
            doAddImage();
        } else if (index == 1) {
            save(nullptr);
            doAddImage();
        }
    } else if (tag == kEraseImageSheetTag && d) {
        if (index == 0)
            d->eraseToOriginal();
        d->setShaken(false);
    }
}

// --- Rotation ----------------------------------------------------------------------------

bool NewMasterViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    if (!areToolsShowing())
        return false;
    CanvoAppDelegate* d = delegate();
    return d && orientation == d->documentOrientation();
}

void NewMasterViewController::willRotateToInterfaceOrientation(int orientation, double duration) {
    CanvoAppDelegate* d = delegate();
    if (!d || !d->canvoViewController())
        return;
    viewToHold_ = d->canvoViewController()->view();
    const float width = float(PaintingView::kCanvasWidth);
    const float height = float(PaintingView::kCanvasHeight);

    platform::View::beginAnimations();
    platform::View::setAnimationDuration(duration);
    if (platform::isLandscape(orientation)) {
        // The window turns to 480 x 320 under the picture; the canvas turns a
        // quarter back about its centre, so the picture stays where it was on
        // the device. The canvas lies under the translucent status bar in both
        // orientations, so no bar height enters the translation.
        const float a = height;
        const float b = height;
        const auto hold = platform::AffineTransform::makeTranslation(-a / 2, -b / 2)
                              .rotated(-std::numbers::pi_v<float> / 2)
                              .translated(-a / 2, b / 2);
        viewToHold_->setTransform(hold);
        viewToHold_->setFrame(Rect(0, 0, height, width));
        viewToHold_->setBounds(Rect(0, 0, width, height));
    } else {
        viewToHold_->setFrame(Rect(0, 0, height, width));
        viewToHold_->setTransform(platform::AffineTransform::identity());
        viewToHold_->setFrame(Rect(0, 0, width, height));
        viewToHold_->setBounds(Rect(0, 0, width, height));
    }
    platform::View::commitAnimations();
}

void NewMasterViewController::didRotateFromInterfaceOrientation(int fromOrientation) {
    if (platform::isLandscape(fromOrientation)) {
        currentOrientation_ = 1;
        return;
    }
    currentOrientation_ = 3;
    if (viewToHold_) {
        Rect bounds = viewToHold_->bounds();
        bounds.origin = {0, 0};
        viewToHold_->setBounds(bounds);
    }
    if (bottomToolbar_) {
        Rect frame = bottomToolbar_->frame();
        frame.origin.y = 256;
        bottomToolbar_->setFrame(frame);
    }
}

} // namespace zorbel
