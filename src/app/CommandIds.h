#pragma once
// The command ids of the main menu, as the main handler dispatches on them.

namespace tessel::command {

enum Id : int {
    New = 1046,
    ZeroPosition = 1089,
    ReadPicture = 1044,
    SavePicture = 1059,
    PaperFormat = 1049,
    Cut = 1045,
    Author = 1048,
    Quit = 1047,

    TextProperties = 1050,
    CutSettings = 1051,
    ImageSize = 1064,
    Holidays = 1083,
    TextureSelector = 1085,

    RulerPixels = 1065,
    RulerMillimetres = 1066,

    FitToWindow = 1101,
    ActualSize = 1102,
    ZoomIn = 1103,
    ZoomOut = 1104,

    Undo = 1068,
    Redo = 1090,
    CopyPicture = 1121,
    Paste = 1122,
    PasteAsNew = 1123,
    GreyScale = 1054,
    InsertAngularText = 1055,
    InsertFxText = 1081,
    InsertHollowText = 1082,
    InsertTextureText = 1086,
    InsertFileTextureText = 1087,
    InsertAlignedText = 1063,
    InsertBubble = 1056,
    InsertPicture = 1057,
    InsertIcon = 1058,
    InsertShapes = 1060,
    InsertArrows = 1061,
    InsertMonth = 1084,
    InsertProgressBar = 1088,
    TurnRight = 1111,
    TurnLeft = 1112,
    TurnHalf = 1113,
    MirrorHorizontal = 1114,
    MirrorVertical = 1115,

    // The trackbars' own ids; their notifications are not commands.
    HorizontalTrackbar = 1001,
    VerticalTrackbar = 1002,
};

}  // namespace tessel::command
