#pragma once
// Language-text ids the document uses.

enum eDocTextId : int {
    kDocTextSmsProtocol1 = 506,   // SMS protocol word of protocol 1 (same in every language)
    kDocTextSmsProtocol2 = 507,   // SMS protocol word of protocol 2
    kDocTextUnnamed = 1000,       // name of a document that has none yet
    kDocTextCaption = 1002,       // caption of the program's message boxes
    kDocTextReadException = 1013, // a file could not be read
    kDocTextSendInfo = 1024,      // information line while the configuration is sent
    kDocTextReceiveInfo = 1025,   // information line while the configuration is read

    // Reasons for a failed open or save, for the caller to show with its
    // own message (texts 1003 and 1001).
    kDocTextFileWrongLength = 1080, // the file is not a configuration file (wrong size)
    kDocTextFileDamaged = 1081,     // the file has the right size but its content is damaged
    kDocTextFileUnreadable = 1082,  // the file could not be opened or read
    kDocTextFileNotSaved = 1083,    // the file could not be written; the old one is kept
    // Refusal of a send whose names do not fit into one block.
    kDocTextTexteTooLong = 1084,   // the name texts are too long for the box
    kDocTextPackageTooLong = 1085, // another part of the configuration is too large
};
