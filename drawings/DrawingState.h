#pragma once
// Values that the scheme pictures, the main window's commands, the preview and printing share.

// Pixels per grid unit of the scheme pictures: 160 at the scale "100%", 120 at "75%", 80 at
// "50%". It holds 160 from start-up until a scale is first applied, whatever the scale combo box
// shows; the next picture drawn uses it.
inline int DrawingStep = 160;

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
