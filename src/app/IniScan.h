#pragma once

#include <cstdio>
#include <string>
#include <vector>

// What an INI file says, as inih reads it, with the file's own line number for everything in it.
// inih numbers the pieces it reads (at most 199 characters each, so a long line is several) and
// gives its handler no number at all, so the file is fed to it here piece by piece and each piece
// is tied to the line it came from.
class IniScan {
  public:
    // One name = value, with the section and name as written. An indented line after it is more
    // of its value (inih's continuation), joined with a newline as INIReader joins it.
    struct Entry {
        std::string section;
        std::string name;
        std::string value;
        int line = 0;
        std::vector<int> continuationLines;
    };
    // A line and the text that matters about it: a section's name, or a refused line as written.
    struct Line {
        int line = 0;
        std::string text;
    };

    static IniScan read(const std::string& path);

    // errno of the failure to open or read the file; 0 when it was read to the end.
    int readError() const { return readError_; }
    // The first line inih refused, the one its own parse reports; 0 when it refused none.
    int firstRefusedLine() const { return firstRefusedLine_; }
    const std::vector<Entry>& entries() const { return entries_; }
    const std::vector<Line>& sections() const { return sections_; }
    const std::vector<Line>& refusedLines() const { return refusedLines_; }

  private:
    static char* readPiece(char* text, int size, void* scan);
    static int takeValue(void* scan, const char* section, const char* name, const char* value);
    void startPiece(const char* text, int size, bool endsLine);
    void finishPiece();
    void classifyUntakenPiece();

    std::FILE* file_ = nullptr;
    int readError_ = 0;
    int firstRefusedLine_ = 0;
    std::vector<Entry> entries_;
    std::vector<Line> sections_;
    std::vector<Line> refusedLines_;

    // The piece inih is working on, and whether its handler has taken a value from it.
    std::string piece_;
    bool piecePending_ = false;
    bool pieceTaken_ = false;
    // The line each piece so far started on, to turn inih's piece count into a line.
    std::vector<int> pieceLines_;
    int nextLine_ = 1;
    // The name an indented line would continue; a section line clears it, as it does in inih.
    std::string continuedName_;
};
