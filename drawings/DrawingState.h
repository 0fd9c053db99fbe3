#pragma once
// Values that the scheme pictures, the main window's commands, the preview and printing share.
#include <cstdint>

// Pixels per grid unit of the scheme pictures: 160 at the scale "100%", 120 at "75%", 80 at
// "50%". It holds 160 from start-up until a scale is first applied, whatever the scale combo box
// shows; the next picture drawn uses it.
inline int DrawingStep = 160;

// Half the height of the bus bars, px, at every scale.
inline constexpr int BusHalfThickness = 3;

// Bytes that the record of a scheme window's picture (its drawing operations) may take. A
// picture whose drawing goes past it is refused as a failed allocation: the memory would be
// promised by the system and the program killed when it touches it.
inline constexpr std::int64_t kDefaultDrawingMemoryBudget = std::int64_t(512) << 20;
inline std::int64_t DrawingMemoryBudget = kDefaultDrawingMemoryBudget;

// Failures to provide the general scheme's picture at the scale "50%" since start-up; never
// reset. From the second one on, a failure at any scale falls back no more.
inline int OutOfMemoryFallbacks = 0;

// What the scheme window's picture shows: the "Tag" of TForm2::Image1 (TForm2::PictureKind()).
enum PictureKinds : int {
    NoPicture = 0,
    GeneralSchemePicture = 1,  // the general one-line scheme of the network
    PanelDiagramPicture = 2,   // the one-line diagram of a panel
    PanelPhasingPicture = 3,   // the load distribution (phasing) picture of a panel
};

// The document that the preview and printing use: TForm1::DocumentKind, the "Tag" of the
// preview bar's zoom button.
enum DocumentKinds : int {
    NoDocument = 0,
    SchemePictureDocument = 1,
    CableJournalDocument = 2,
    SupplySchemeDocument = 3,
    CalculationTablesDocument = 4,
};
