#!/usr/bin/env python3
"""A scripted MPRIS2 media player on the session bus, for the media-player tests.

Usage: fake_mpris_player.py NAME [--tracks N] [--current I] [--status S]
                            [--position-us P] [--length-us L] [--no-tracklist]

It owns org.mpris.MediaPlayer2.NAME and prints "ready" once it does, then one line
for every method call it gets ("Play", "Seek -5000000", "GoTo /org/pelorin/track/2").
Calls act as on a real player and are announced with PropertiesChanged, Seeked and
the track-list signals. Commands on standard input, one a line:
  status S     set PlaybackStatus (Playing, Paused, Stopped) and announce it
  seeked P     jump to position P (microseconds) and emit Seeked
  quit         leave the bus and end
"""

import argparse
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

ROOT = "org.mpris.MediaPlayer2"
PLAYER = ROOT + ".Player"
TRACKLIST = ROOT + ".TrackList"
PROPERTIES = "org.freedesktop.DBus.Properties"
NO_TRACK = dbus.ObjectPath("/org/mpris/MediaPlayer2/TrackList/NoTrack")


def record(line):
    print(line, flush=True)


class FakePlayer(dbus.service.Object):
    def __init__(self, bus, options):
        super().__init__(bus, "/org/mpris/MediaPlayer2")
        self.tracks = [dbus.ObjectPath("/org/pelorin/track/%d" % i) for i in range(options.tracks)]
        self.current = options.current
        self.status = options.status
        self.position = options.position_us
        self.length = options.length_us
        self.has_tracklist = not options.no_tracklist

    def current_track(self):
        return self.tracks[self.current] if self.current < len(self.tracks) else NO_TRACK

    def metadata(self):
        return dbus.Dictionary(
            {"mpris:trackid": self.current_track(), "mpris:length": dbus.Int64(self.length)},
            signature="sv")

    def properties(self, interface):
        if interface == ROOT:
            return {"CanQuit": False, "CanRaise": True, "HasTrackList": self.has_tracklist,
                    "Identity": "Fake player",
                    "SupportedUriSchemes": dbus.Array([], signature="s"),
                    "SupportedMimeTypes": dbus.Array([], signature="s")}
        if interface == PLAYER:
            return {"PlaybackStatus": self.status, "Rate": 1.0, "Metadata": self.metadata(),
                    "Volume": 1.0, "Position": dbus.Int64(self.position), "MinimumRate": 1.0,
                    "MaximumRate": 1.0, "CanGoNext": True, "CanGoPrevious": True,
                    "CanPlay": True, "CanPause": True, "CanSeek": True, "CanControl": True}
        if interface == TRACKLIST and self.has_tracklist:
            return {"Tracks": dbus.Array(self.tracks, signature="o"), "CanEditTracks": True}
        raise dbus.exceptions.DBusException("No such interface " + interface,
                                            name="org.freedesktop.DBus.Error.UnknownInterface")

    # org.freedesktop.DBus.Properties
    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties(interface)[name]

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return dbus.Dictionary(self.properties(interface), signature="sv")

    @dbus.service.method(PROPERTIES, in_signature="ssv")
    def Set(self, interface, name, value):
        pass

    @dbus.service.signal(PROPERTIES, signature="sa{sv}as")
    def PropertiesChanged(self, interface, changed, invalidated):
        pass

    def announce(self, **changed):
        self.PropertiesChanged(PLAYER, dbus.Dictionary(changed, signature="sv"),
                               dbus.Array([], signature="s"))

    def set_status(self, status):
        self.status = status
        if status == "Stopped":
            self.position = 0
        self.announce(PlaybackStatus=status)

    def go_to(self, index):
        self.current = index
        self.position = 0
        self.announce(Metadata=self.metadata())

    # org.mpris.MediaPlayer2
    @dbus.service.method(ROOT)
    def Raise(self):
        record("Raise")

    @dbus.service.method(ROOT)
    def Quit(self):
        record("Quit")

    # org.mpris.MediaPlayer2.Player
    @dbus.service.signal(PLAYER, signature="x")
    def Seeked(self, position):
        pass

    @dbus.service.method(PLAYER)
    def Play(self):
        record("Play")
        self.set_status("Playing")

    @dbus.service.method(PLAYER)
    def Pause(self):
        record("Pause")
        self.set_status("Paused")

    @dbus.service.method(PLAYER)
    def PlayPause(self):
        record("PlayPause")
        self.set_status("Paused" if self.status == "Playing" else "Playing")

    @dbus.service.method(PLAYER)
    def Stop(self):
        record("Stop")
        self.set_status("Stopped")

    @dbus.service.method(PLAYER)
    def Next(self):
        record("Next")
        if self.current + 1 < len(self.tracks):
            self.go_to(self.current + 1)

    @dbus.service.method(PLAYER)
    def Previous(self):
        record("Previous")
        if self.current > 0:
            self.go_to(self.current - 1)

    @dbus.service.method(PLAYER, in_signature="x")
    def Seek(self, offset):
        record("Seek %d" % offset)
        self.position = max(0, self.position + offset)
        self.Seeked(dbus.Int64(self.position))

    @dbus.service.method(PLAYER, in_signature="ox")
    def SetPosition(self, track, position):
        record("SetPosition %s %d" % (track, position))

    @dbus.service.method(PLAYER, in_signature="s")
    def OpenUri(self, uri):
        record("OpenUri " + uri)

    # org.mpris.MediaPlayer2.TrackList
    @dbus.service.signal(TRACKLIST, signature="o")
    def TrackRemoved(self, track):
        pass

    @dbus.service.method(TRACKLIST, in_signature="o")
    def GoTo(self, track):
        record("GoTo " + track)
        if track in self.tracks:
            self.go_to(self.tracks.index(track))

    @dbus.service.method(TRACKLIST, in_signature="o")
    def RemoveTrack(self, track):
        record("RemoveTrack " + track)
        if track in self.tracks:
            self.tracks.remove(track)
            self.TrackRemoved(track)
            self.PropertiesChanged(TRACKLIST, dbus.Dictionary({}, signature="sv"),
                                   dbus.Array(["Tracks"], signature="s"))

    @dbus.service.method(TRACKLIST, in_signature="ao", out_signature="aa{sv}")
    def GetTracksMetadata(self, tracks):
        return dbus.Array([], signature="a{sv}")

    @dbus.service.method(TRACKLIST, in_signature="sob")
    def AddTrack(self, uri, after, set_as_current):
        record("AddTrack " + uri)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("name")
    parser.add_argument("--tracks", type=int, default=3)
    parser.add_argument("--current", type=int, default=0)
    parser.add_argument("--status", default="Stopped")
    parser.add_argument("--position-us", type=int, default=0)
    parser.add_argument("--length-us", type=int, default=180_000_000)
    parser.add_argument("--no-tracklist", action="store_true")
    options = parser.parse_args()

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    player = FakePlayer(bus, options)
    loop = GLib.MainLoop()
    pending = b""

    def on_input(fd, condition):
        nonlocal pending
        data = os.read(fd, 4096)
        if not data:
            loop.quit()
            return False
        pending += data
        while b"\n" in pending:
            line, pending = pending.split(b"\n", 1)
            words = line.decode().split()
            if not words:
                continue
            if words[0] == "status":
                player.set_status(words[1])
            elif words[0] == "seeked":
                player.position = int(words[1])
                player.Seeked(dbus.Int64(player.position))
            elif words[0] == "quit":
                loop.quit()
                return False
        return True

    GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, on_input)
    name = dbus.service.BusName(ROOT + "." + options.name, bus, do_not_queue=True)
    record("ready")
    loop.run()
    del name


if __name__ == "__main__":
    main()
