; kept by hand
[Playlist]
Author=me
NumberOfEntries=2
Version=2
File1=/music/01 - SOS.mp3
Title1=Abba - SOS
Length1=180
File2=/music/02 - Intro.mp3
Title2=Intro
Length2=7
[Extra]
keep=yes
