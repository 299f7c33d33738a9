"""The exceptions of the korvadex package.

Every failure of the board or of a file raises a subclass of Error whose
message is the text the KORVADEX window shows for it.
"""


class Error(Exception):
    """Base of every error the board or a .DTA file raises."""


class BoardNotFound(Error):
    """No KORVADEX Board is attached, the device found is not one, or
    several FTDI devices are attached and none is chosen (the message lists
    them).

    When the board could not be used, the message is the window's text and
    ``reason`` says why, ending with the fix ("KVX0001 is open in another
    program: close it"); it is also the exception's note, so a traceback
    shows it on the line after the message. Otherwise ``reason`` is "".
    """

    def __init__(self, message, reason=""):
        super().__init__(message)
        self.reason = reason
        if reason:
            self.add_note(reason)


class NoResponse(Error):
    """The board did not answer its identification ("?", "U?", "V?")."""


class BoardError(Error):
    """The board refused its filter, rate or start command."""


class ReadError(Error):
    """The sample stream failed during a run (cable pulled, stalled board).

    ``run`` holds the samples taken before the fault, ``samples`` their
    number.
    """

    def __init__(self, message, run=None):
        super().__init__(message)
        from .run import Run  # run imports the extension, which raises these
        self.run = None if run is None else Run(run)

    @property
    def samples(self):
        return 0 if self.run is None else len(self.run)


class FileFormatError(Error):
    """A file the window would refuse to load."""
