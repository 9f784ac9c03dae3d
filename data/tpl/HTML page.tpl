htm
<html>
<head><meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title>%LN</title></head>
<body style="font-family: Tahoma, sans-serif">
<h2>%LN</h2>
<p>%SC tracks, %ST</p>
<table cellpadding="3">
<tr><th>Artist - Title</th><th>Album</th><th>Year</th><th>Time</th></tr>
<{
<tr><td>%AR - %TL</td><td>%AL</td><td>%YR</td><td>%DR</td></tr>
}>
</table>
<p><small>%PL</small></p>
</body>
</html>
