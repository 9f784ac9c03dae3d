m3u
#EXTM3U
<{
#EXTINF:-1,%AR - %TL
%FP
}>
