vs.1.1
mov	a0.x, v3.y
m4x4	r2, v0, c[a0.x + 8]
mov	oPos, r2
mov	a0.x, v3.x
dp3	r7.xyz, v1,  c[a0.x + 69]
add	r7.xyz, r7,  r7
mad	r7.xyz, r7, -v1, c[a0.x + 69]
dp3	r7.w, c[a0.x + 61], r7
max	r7.w, r7.w, c40.x
mul	r7.w, r7.w, r7.w
mul	r7.w, r7.w, r7.w
mul	r7.w, r7.w, r7.w
mul	r6.rgb, r7.www, c60
add	oD1.rgb, c77, r6.xyz
dp3	r6.x, v1.xyz, c[a0.x+43]
dp3	r6.y, v1.xyz, c[a0.x+52]
max	r6.xy, c40.x, r6.xy
mul	r0.xyz, r6.xxx, c42
mad	r0.xyz, r6.yyy, c51, r0.xyz
add	oD0.rgb,  r0.xyz, c41
mov	oD0.a, c[a0.x+78].a
mov	a0.x, v3.x
add	oT0, v2, c[a0.x + 0]
