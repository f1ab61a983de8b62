#pragma once
// Where recovery copies live and who owns them: the user's state folder
// ($XDG_STATE_HOME/tessel, else ~/.local/state/tessel) holds at most one copy per running
// program, "tessel-PID-START.png", beside its lock file "tessel-PID-START.lock". The program
// holds an exclusive flock on its lock file for as long as it runs, so the lock is free exactly
// when its owner has ended, however it ended, and a reused process number changes nothing. A
// copy whose lock can be taken was left by a program that did not end normally.

#include <QString>
#include <vector>

namespace tessel::recovery {

// The folder of the recovery copies (not created here).
QString stateFolder();

// This program's copy and lock.
class OwnCopy {
  public:
    // A name unique to this start of the program, in `folder`.
    explicit OwnCopy(const QString& folder);
    ~OwnCopy();  // lets the lock go; the files stay
    OwnCopy(const OwnCopy&) = delete;
    OwnCopy& operator=(const OwnCopy&) = delete;

    QString folder() const { return folder_; }
    QString picturePath() const;
    QString lockPath() const;
    // Creates the folder and the lock file and takes the lock, once; true while it is held.
    bool lock();
    // Removes the copy and the lock file; the lock is taken again by the next lock().
    void remove();

  private:
    QString folder_;
    QString name_;
    int lockFd_ = -1;
};

// A copy left by a program that has ended, held locked by this program until released.
class ClaimedCopy {
  public:
    ClaimedCopy(QString path, int lockFd) : path_(std::move(path)), lockFd_(lockFd) {}
    ~ClaimedCopy();
    ClaimedCopy(ClaimedCopy&& other) noexcept;
    ClaimedCopy& operator=(ClaimedCopy&& other) noexcept;

    QString path() const { return path_; }
    QString lockPath() const;
    // Lets the lock go, leaving the files for a later start.
    void release();
    // Removes the copy and its lock file.
    void remove();
    // The copy becomes `own`'s (renamed to its name, under its lock); its own lock file goes.
    bool handOver(OwnCopy& own);

  private:
    QString path_;
    int lockFd_ = -1;
};

// Every copy in `folder` whose owner has ended, newest file first, each claimed (locked) for
// this program; copies of running programs are left alone. Temporary files that writers which
// have ended left behind are removed on the way.
std::vector<ClaimedCopy> claimAbandonedCopies(const QString& folder);

}  // namespace tessel::recovery
