txt
%LN
%SC tracks, %ST
<{
%AR - %TL  [%DR]
}>
