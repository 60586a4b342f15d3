[Playlist]
NumberOfEntries=7
FILE3=/third.mp3
file1=stream/first.mp3
File2 = //other.example:8080/second.ogg
file4=ftp://127.0.0.1/no.mp3
